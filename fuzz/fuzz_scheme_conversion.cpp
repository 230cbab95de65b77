// Conversion rewrites user files: whatever scheme a file holds, converting
// it must not fail, must keep its name, and must leave a scheme that no
// reader finds a required key missing from. (A value out of its legal
// range that the file itself holds may still be rejected by a reader.)
#include "Corvale_Exception.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_Exception.h"
#include "Stylist_PropertySet.h"
#include "Stylist_SchemeKeys.h"
#include "Stylist_UserDataConverter.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void readAll(const Stylist::PropertySet& scheme)
{
    try {
        (void)StylistCpp::readRewriterSettings(scheme);
        (void)StylistCpp::readFormatterSettings(scheme);
        (void)StylistCpp::readExprFormatterSettings(scheme);
        (void)StylistCpp::readExprLineWrapperSettings(scheme);
        (void)StylistCpp::readLineWrapperSettings(scheme);
    } catch (const Stylist::PropertyMissingException&) {
        std::abort();
    } catch (const Corvale::ContractViolation&) {
        // An enumerated value out of range, as the file gave it.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Stylist::PropertySet scheme;
    try {
        scheme.read(in);
    } catch (const Stylist::InvalidPropertyName&) {
        return 0;
    }
    if (in.fail())
        return 0;

    Stylist::PropertySet converted = scheme;
    const bool changed = Stylist::convertScheme(converted);
    if (converted.name() != scheme.name())
        std::abort();
    std::string version;
    if (changed && (!converted.getString(Stylist::Key::QUILLON_VERSION, version) || version != "1.4.0"))
        std::abort();
    if (!changed && !(converted == scheme))
        std::abort();
    readAll(converted);

    // The version check never fails on a stamped scheme.
    if (changed && !Stylist::schemeNeedsConversion(converted, "1.4.4"))
        std::abort();
    return 0;
}
