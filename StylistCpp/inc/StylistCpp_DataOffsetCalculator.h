// StylistCpp::DataOffsetCalculator: the columns at which the initialisers
// of data declarations start.
//
// It groups consecutive data declarations with an initialiser (or another
// rest after the name) and gives each group one column: the widest
// "type and name" of the group plus one column of separation. The columns
// count from the start of each declaration's type, so they are offsets
// from the column the declaration is written at. With ALIGN_DD_NAMES_LEFT
// the names themselves are aligned, and only the names' lengths count:
// the column is then an offset from the name column.
//
// Usage:
//     StylistCpp::DataOffsetCalculator calc(scheme);
//     root.accept(calc);
//     auto initialisers = calc.takeColumns();
#ifndef STYLISTCPP_DATAOFFSETCALCULATOR_H
#define STYLISTCPP_DATAOFFSETCALCULATOR_H

#include "Stylist_OffsetCalculator.h"

namespace StylistCpp {

class DataOffsetCalculator : public Stylist::OffsetCalculator {
public:
    explicit DataOffsetCalculator(const Stylist::PropertySet& scheme);

    void visitDataDeclNode(Cpp::DataDeclNode& node) override;
    void visitFunctionDeclNode(Cpp::FunctionDeclNode& node) override;
    void visitCtorDeclNode(Cpp::CtorDeclNode& node) override;

private:
    void visitFunction(Cpp::FunctionDeclNode& node);

    bool m_AlignDdNamesLeft = false;
};

} // namespace StylistCpp

#endif
