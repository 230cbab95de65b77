#include "StylistCpp_ShippedSchemes.h"

#include "Corvale_Exception.h"
#include "Stylist_PropertySetStore.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace StylistCppTest {

const char* const SHIPPED_SCHEMES[6] = {"Allman", "Default", "GNU", "KR", "Stroustrup", "Whitesmiths"};

const Stylist::PropertySet& shippedScheme(const std::string& name)
{
    static Stylist::PropertySetStore* const pStore = [] {
        auto* p = new Stylist::PropertySetStore(std::string(QUILLON_SOURCE_DIR) + "/schemes");
        p->load();
        return p;
    }();
    const Stylist::PropertySetStore::Entry* pEntry = pStore->find(name);
    if (pEntry == nullptr) {
        std::cerr << "no shipped scheme " << name << '\n';
        std::abort();
    }
    return pEntry->m_Set;
}

::testing::AssertionResult formatted(StylistCpp::FormatPipeline& pipeline, const std::string& text, std::string& out)
{
    std::istringstream in(text);
    std::ostringstream result;
    try {
        const std::int32_t errors = pipeline.format(in, result);
        if (errors != 0)
            return ::testing::AssertionFailure() << errors << " error(s) formatting:\n" << text;
    } catch (const Corvale::ContractViolation& e) {
        return ::testing::AssertionFailure() << e.description() << "\nformatting:\n" << text;
    }
    out = result.str();
    return ::testing::AssertionSuccess();
}

} // namespace StylistCppTest
