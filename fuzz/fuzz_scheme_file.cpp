// Scheme files are user-edited: any bytes must read without a crash, and
// whatever reads must write and read back to the same property set.
#include "Stylist_Exception.h"
#include "Stylist_PropertySet.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Stylist::PropertySet set;
    try {
        set.read(in);
    } catch (const Stylist::InvalidPropertyName&) {
        return 0;
    }
    if (in.fail())
        return 0;
    std::ostringstream out;
    set.write(out);
    std::istringstream again(out.str());
    Stylist::PropertySet back;
    back.read(again);
    // A scheme name holding a line end cannot be written in the file
    // format, which writes names unescaped.
    if (set.name().find_first_of("\r\n") == std::string::npos && (again.fail() || !(back == set)))
        std::abort();
    return 0;
}
