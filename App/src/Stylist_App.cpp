#include "Stylist_App.h"

#include "Corvale_Exception.h"
#include "Stylist_Version.h"

#include <boost/filesystem/operations.hpp>

#include <sstream>

namespace Stylist {

App* App::s_pInstance = nullptr;

App::App(const boost::filesystem::path& p) : m_ExecutablePath(p)
{
    CORVALE_CHECK(!p.empty());
    CORVALE_CHECK(p.is_complete());
    CORVALE_CHECK(exists(p));
    s_pInstance = this;
}

App::~App()
{
    if (s_pInstance == this)
        s_pInstance = nullptr;
}

App* App::instance() { return s_pInstance; }

std::string App::versionString() const { return composeVersion(PRODUCT_VERSION); }

bool App::progress(const std::string& bufferName, const std::string& text, int step, int count)
{
    return m_Progress(bufferName, text, step, count);
}

void App::formatBuffer(std::string& buffer, const std::string& bufferName, const std::string& schemeName)
{
    CORVALE_CHECK(!bufferName.empty());
    CORVALE_CHECK(!schemeName.empty());
    // The format pipeline is not part of this build yet: the buffer is
    // passed through as read.
    (void)buffer;
}

std::string composeVersion(const std::string& productVersion)
{
    std::string text = productVersion;
    for (char& c : text)
        if (c == '.')
            c = ' ';
    std::istringstream in(text);
    long numbers[3] = {0, 0, 0};
    for (long& n : numbers) {
        if (!(in >> n))
            break;
        if (n > 1000)
            n /= 1000;
    }
    return std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[2]);
}

} // namespace Stylist
