// Trn::Message: one diagnostic about a source text.
#ifndef TRN_MESSAGE_H
#define TRN_MESSAGE_H

#include "Trn_Location.h"

#include <cstdint>
#include <string>

namespace Trn {

// A fixed underlying type: a severity read from elsewhere may hold any
// number, which severityLabel answers with the empty string.
enum MessageSeverity : std::int32_t { INFORMATION = 1, WARNING = 2, ERROR = 3 };

// "Information", "Warning" or "Error"; an out-of-range value gives the
// empty string.
std::string severityLabel(MessageSeverity severity);

// A severity, the location of the offending token, a message number and the
// text for that number.
class Message {
public:
    Message(MessageSeverity severity, Location location, std::uint32_t code, std::string text);

    MessageSeverity severity() const { return m_Severity; }
    const Location& location() const { return m_Location; }
    std::uint32_t code() const { return m_Code; }
    const std::string& text() const { return m_Text; }

    friend bool operator==(const Message& a, const Message& b);
    friend bool operator!=(const Message& a, const Message& b) { return !(a == b); }

private:
    MessageSeverity m_Severity;
    Location m_Location;
    std::uint32_t m_Code;
    std::string m_Text;
};

} // namespace Trn

#endif
