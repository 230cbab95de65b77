// The integer-to-tab-mode conversion shared by the text stream family.
//
// The scheme stores the tab mode as an integer; a value outside the three
// modes is an internal inconsistency (the scheme reader validates its keys
// before the streams are built), so it is reported as a contract violation
// rather than mapped to a default.
//
// The input buffers keep the mode only for their users; the output buffers
// act on it: Keep passes characters through, Expand writes a tab outside
// quotes as spaces, Compress writes whole tab widths of spaces as tabs.
#include "Corvale_StreamFwd.h"

#include "Corvale_Exception.h"

namespace Corvale {

namespace {

// Whether value names one of the three tab modes.
bool isTabModeValue(int value)
{
    return value == Keep || value == Expand || value == Compress;
}

} // namespace

// The check stands on its own line so that the violation names this file and
// the line of the conversion.
TabMode toTabMode(int value)
{
    if (isTabModeValue(value))
        return static_cast<TabMode>(value);
    // Not one of the modes.
    //
    CORVALE_CHECK(false);
    return Keep;
}

} // namespace Corvale
