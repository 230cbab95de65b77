// The whole format pipeline on arbitrary bytes, with the shipped schemes:
// no crash, no hang (run with -timeout), no exception, and every text the
// pipeline writes has passed its own self-check (which is always on: a
// failed check is a contract violation, and so aborts here like any other
// internal inconsistency). A text that does not parse is refused with
// diagnostics and a nonzero result, which is fine.
//
// The first byte chooses the scheme: its remainder by the number of shipped
// schemes picks one (in file name order), and the quotient picks the
// single-statement brace styles, since no shipped scheme rewrites braces:
// 0 as shipped, 1 braces added everywhere, 2 braces removed everywhere,
// 3 mixed (if/else removed, for and while added). The rest is the text,
// with its line ends made single newlines as the program reads it.
//
//   build-fuzz/fuzz/fuzz_pipeline -timeout=10 -max_len=4096 -jobs=1 corpus-pipeline/ examples/
#include "Corvale_Exception.h"
#include "Corvale_LineBuf.h"
#include "StylistCpp.h"
#include "Stylist_PropertySet.h"
#include "Stylist_PropertySetStore.h"
#include "Stylist_SchemeKeys.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::vector<Stylist::PropertySet>& shippedSchemes()
{
    static const std::vector<Stylist::PropertySet> schemes = [] {
        Stylist::PropertySetStore store(std::string(QUILLON_SOURCE_DIR) + "/schemes");
        store.load();
        std::vector<Stylist::PropertySet> sets;
        for (const auto& file : store.files())
            sets.push_back(store.find(file.second)->m_Set);
        if (sets.empty()) {
            std::cerr << "no shipped schemes under " << QUILLON_SOURCE_DIR << "/schemes\n";
            std::abort();
        }
        return sets;
    }();
    return schemes;
}

Stylist::PropertySet chooseScheme(std::uint8_t selector)
{
    const std::vector<Stylist::PropertySet>& schemes = shippedSchemes();
    Stylist::PropertySet scheme = schemes[selector % schemes.size()];
    const unsigned variant = (selector / schemes.size()) % 4;
    const int ifElse[] = {0, 1, 2, 2}, loops[] = {0, 1, 2, 1};
    if (variant != 0) {
        scheme.setInt(Stylist::Key::IF_ELSE_CS_SINGLE_STMT_BRACE_STYLE, ifElse[variant]);
        scheme.setInt(Stylist::Key::FOR_CS_SINGLE_STMT_BRACE_STYLE, loops[variant]);
        scheme.setInt(Stylist::Key::WHILE_CS_SINGLE_STMT_BRACE_STYLE, loops[variant]);
    }
    return scheme;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Stylist::PropertySet scheme = chooseScheme(data[0]);
    const std::string text = Corvale::readLf(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    try {
        StylistCpp::FormatPipeline pipeline(scheme);
        std::istringstream in(text, std::ios::in | std::ios::binary);
        std::ostringstream out(std::ios::out | std::ios::binary);
        const std::int32_t errors = pipeline.format(in, out);
        // Refused: nothing written. Formatted: something written unless the
        // text was blank.
        if (errors != 0 && !out.str().empty())
            std::abort();
    }
    catch (const Corvale::ContractViolation& e) {
        std::cerr << e.description() << "\n";
        std::abort();
    }
    catch (const std::exception& e) {
        std::cerr << "exception: " << e.what() << "\n";
        std::abort();
    }
    catch (...) {
        std::cerr << "unknown exception\n";
        std::abort();
    }
    return 0;
}
