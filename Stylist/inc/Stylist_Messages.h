// The user-visible message texts of the program, looked up by number, and
// the filling of their positional placeholders "%1%", "%2%", ...
#ifndef STYLIST_MESSAGES_H
#define STYLIST_MESSAGES_H

#include <boost/format.hpp>

#include <string>

namespace Stylist {

// Numbers of the top-level table, used by the command-line driver.
enum TopLevelMessage {
    MSG_OUT_OF_MEMORY = 1,
    MSG_INTERNAL_INCONSISTENCY = 2,
    MSG_UNEXPECTED_ERROR = 3,
    MSG_UNEXPECTED_ERROR_WITH_TEXT = 4,
    MSG_NO_EXECUTABLE_PATH = 5,
    MSG_VERSION_BANNER = 7,
    MSG_CANNOT_OPEN_INPUT = 8,
    MSG_CANNOT_READ_INPUT = 9,
    MSG_CANNOT_OPEN_OUTPUT = 10,
    MSG_CANNOT_WRITE_OUTPUT = 11,
    MSG_SCHEME_NEEDS_CONVERSION = 12,
};

// Numbers of the application message catalogue that the code sends.
enum AppMessage {
    APP_INFORMATION = 0,
    APP_WARNING = 1,
    APP_ERROR = 2,
    APP_UNEXPECTED_ERROR = 3,
    APP_UNEXPECTED_ERROR_WITH_TEXT = 4,
    APP_SCHEME_READ_ERROR = 5,
    APP_SCHEME_WRITE_ERROR = 6,
    APP_USING_SCHEME = 14,
    APP_READING_BUFFER = 18,
    APP_WRITING_BUFFER = 19,
    APP_CANNOT_READ_BUFFER = 20,
    APP_CANNOT_WRITE_BUFFER = 21,
    APP_USER_CANCELLED = 28,
    APP_UNKNOWN_SCHEME = 29,
    APP_NO_REGISTRY_DATA = 33,
    APP_NO_SCHEME_STORAGE = 34,
};

// The text of a top-level message; numbers 0, 6 and those past 12 are a
// contract violation.
std::string topLevelMessage(int number);

// The text of an application catalogue message; 36 and numbers past 37 are
// a contract violation.
std::string appMessage(int number);

// Fills the placeholders of text with the values, in order. Surplus values
// are ignored and a placeholder without a value is left empty, so a message
// text can never make formatting throw.
template <typename... Args>
std::string fillMessage(const std::string& text, const Args&... args)
{
    boost::format f(text);
    f.exceptions(boost::io::no_error_bits);
    (void)std::initializer_list<int>{((void)(f % args), 0)...};
    return f.str();
}

} // namespace Stylist

#endif
