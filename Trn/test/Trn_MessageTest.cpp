#include "Trn_Exception.h"
#include "Trn_Message.h"

#include <gtest/gtest.h>

namespace {

TEST(Message, SeverityNumbersAndLabels)
{
    EXPECT_EQ(1, Trn::INFORMATION);
    EXPECT_EQ(2, Trn::WARNING);
    EXPECT_EQ(3, Trn::ERROR);
    EXPECT_EQ("Information", Trn::severityLabel(Trn::INFORMATION));
    EXPECT_EQ("Warning", Trn::severityLabel(Trn::WARNING));
    EXPECT_EQ("Error", Trn::severityLabel(Trn::ERROR));
    EXPECT_EQ("", Trn::severityLabel(static_cast<Trn::MessageSeverity>(7)));
}

TEST(Message, EqualityComparesEveryField)
{
    const Trn::Message m(Trn::ERROR, Trn::Location(4, 2), 17, "Syntax error.");
    EXPECT_EQ(m, Trn::Message(Trn::ERROR, Trn::Location(4, 2), 17, "Syntax error."));
    EXPECT_NE(m, Trn::Message(Trn::WARNING, Trn::Location(4, 2), 17, "Syntax error."));
    EXPECT_NE(m, Trn::Message(Trn::ERROR, Trn::Location(4, 3), 17, "Syntax error."));
    EXPECT_NE(m, Trn::Message(Trn::ERROR, Trn::Location(4, 2), 6, "Syntax error."));
    EXPECT_NE(m, Trn::Message(Trn::ERROR, Trn::Location(4, 2), 17, "Other."));
}

TEST(TrnException, AlreadyExistsIsCaughtAsTheBaseWithItsFixedText)
{
    try {
        throw Trn::AlreadyExistsException();
    } catch (const Trn::Exception& e) {
        EXPECT_EQ("Attempt to add an object to a collection that already exists in that collection.",
                  e.message());
        return;
    }
    FAIL() << "not caught as Trn::Exception";
}

} // namespace
