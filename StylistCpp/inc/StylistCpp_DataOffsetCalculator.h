// StylistCpp::DataOffsetCalculator: the columns at which the initialisers
// of data declarations start.
//
// It groups consecutive data declarations with an initialiser (or another
// rest after the name) and gives each group one column: the widest
// "type and name" of the group plus one column of separation. The columns
// count from the start of each declaration's type, so they are offsets
// from the column the declaration is written at. With ALIGN_DD_NAMES_LEFT
// the names themselves are aligned, and only the names' lengths count:
// only the name's length counts.
//
// When the name columns are known (the offsets from each declaration's
// column at which its name is written, as the name calculator's columns
// are used), a declaration whose name is aligned is measured from its name
// column, so that its column is again an offset from the declaration's
// column; one whose name is not aligned is measured from its type.
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

    // The name offsets of the data declarations whose names are aligned;
    // the map must outlive the walk.
    void useNameOffsets(const ColumnMap& offsets) { m_pNameOffsets = &offsets; }

    void visitDataDeclNode(Cpp::DataDeclNode& node) override;
    void visitFunctionDeclNode(Cpp::FunctionDeclNode& node) override;
    void visitCtorDeclNode(Cpp::CtorDeclNode& node) override;

private:
    void visitFunction(Cpp::FunctionDeclNode& node);

    bool m_AlignDdNamesLeft = false;
    const ColumnMap* m_pNameOffsets = nullptr;
};

} // namespace StylistCpp

#endif
