#include "Stylist_App.h"

#include "Corvale_Exception.h"
#include "Corvale_LineBuf.h"
#include "Corvale_Registry.h"
#include "Corvale_StringOutBuf.h"
#include "Corvale_StringViewBuf.h"
#include "Stylist_Exception.h"
#include "Stylist_Messages.h"
#include "Stylist_UserDataConverter.h"
#include "Stylist_Version.h"
#include "StylistCpp.h"
#include "Trn_Exception.h"
#include "Trn_Message.h"

#include <boost/filesystem/operations.hpp>

#include <exception>
#include <istream>
#include <ostream>
#include <sstream>
#include <vector>

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

std::string severityWord(int severity)
{
    switch (severity) {
    case Trn::INFORMATION:
        return appMessage(APP_INFORMATION);
    case Trn::WARNING:
        return appMessage(APP_WARNING);
    case Trn::ERROR:
        return appMessage(APP_ERROR);
    default:
        return std::string();
    }
}

std::string diagnosticLine(const std::string& bufferName, const Trn::Message& message)
{
    return fillMessage("%1%(%2%): %3%: %4%", bufferName, message.location().line(),
                       severityWord(message.severity()), message.text());
}

void App::formatBuffer(std::string& buffer, const std::string& bufferName, const std::string& schemeName)
{
    CORVALE_CHECK(!bufferName.empty());
    CORVALE_CHECK(!schemeName.empty());
    // An unknown scheme ends here, before anything is reported.
    const PropertySet properties = scheme(schemeName);

    StylistCpp::FormatPipeline pipeline(properties);
    // Both forwarders are disconnected on every way out of this function,
    // before the pipeline goes.
    boost::signals2::scoped_connection progressForwarder = pipeline.onProgress().connect(
        [this, &bufferName](const std::string& text) { return progress(bufferName, text, 1, 1); });
    boost::signals2::scoped_connection messageForwarder =
        pipeline.onMessage().connect([this, &bufferName](const Trn::Message& message) {
            m_Message(message.severity(), diagnosticLine(bufferName, message));
        });

    m_Message(Trn::INFORMATION, fillMessage(appMessage(APP_USING_SCHEME), bufferName, pipeline.properties().name()));

    if (!progress(bufferName, appMessage(APP_READING_BUFFER), 1, 1)) {
        m_Message(Trn::ERROR, appMessage(APP_USER_CANCELLED));
        return;
    }

    try {
        if (buffer.empty())
            return;

        // The program's own reader has normalised the line ends already;
        // only a buffer that still holds a CR is normalised here (a copy).
        const bool hasCr = buffer.find('\r') != std::string::npos;
        const std::string normalised = hasCr ? Corvale::readLf(buffer) : std::string();
        const std::string& text = hasCr ? normalised : buffer;
        Corvale::StringViewBuf source(text);
        std::istream in(&source);
        if (!in.good()) {
            m_Message(Trn::ERROR, fillMessage(appMessage(APP_CANNOT_READ_BUFFER), bufferName));
            return;
        }
        // The formatted text is written with CR LF line ends straight into
        // a string of its own, which then becomes the buffer.
        Corvale::StringOutBuf target;
        Corvale::LineBuf crLf(&target, Corvale::LineBuf::WRITE_CRLF);
        std::ostream out(&crLf);
        // The pipeline reads the text the stream shows in place rather than
        // copying it from the stream: the buffer is the largest thing a run
        // holds besides a pass's tokens and tree.
        if (pipeline.format(text, out) != 0)
            return;

        // The slot that shows this text fills in the buffer name.
        if (!progress(bufferName, appMessage(APP_WRITING_BUFFER), 1, 1)) {
            m_Message(Trn::ERROR, appMessage(APP_USER_CANCELLED));
            return;
        }

        if (out.good())
            buffer = target.take();
        else
            m_Message(Trn::ERROR, fillMessage(appMessage(APP_CANNOT_WRITE_BUFFER), bufferName));
    } catch (const PropertyMissingException&) {
        throw;
    } catch (const Trn::Exception& e) {
        m_Message(Trn::ERROR, fillMessage(appMessage(APP_UNEXPECTED_ERROR_WITH_TEXT), e.message()));
    } catch (const Corvale::ContractViolation& e) {
        m_Message(Trn::ERROR, fillMessage(appMessage(APP_UNEXPECTED_ERROR_WITH_TEXT), e.description()));
    } catch (const std::exception& e) {
        m_Message(Trn::ERROR, fillMessage(appMessage(APP_UNEXPECTED_ERROR_WITH_TEXT), e.what()));
    } catch (...) {
        m_Message(Trn::ERROR, appMessage(APP_UNEXPECTED_ERROR));
    }
}

PropertySet App::scheme(const std::string& name)
{
    loadSchemes();
    const PropertySetStore::Entry* entry = m_SchemeStore.find(name);
    if (entry == nullptr)
        throw AppException(fillMessage(appMessage(APP_UNKNOWN_SCHEME), name));
    return entry->m_Set;
}

void App::loadSchemes()
{
    if (m_SchemesLoaded)
        return;
    try {
        // Schemes of an earlier version are converted first, so that the
        // store below reads the converted files. The converter finds the
        // directory on its own (the user's registry value first); each of
        // its notices (read-only or broken schemes) is one alert.
        {
            UserDataConverter converter(Corvale::Registry::forExecutable(m_ExecutablePath));
            const std::string version = versionString();
            if (converter.needsConversion(version)) {
                std::vector<std::string> messages;
                converter.convert(version, messages);
                for (const std::string& message : messages)
                    alert(message);
            }
        }
        m_SchemeStore.setPath(schemeStorePath());
        m_SchemeStore.load();
        m_SchemesLoaded = true;
    } catch (const PropertySetStore::ReadError& e) {
        alert(fillMessage(appMessage(APP_SCHEME_READ_ERROR), e.m_Path));
    } catch (const PropertySetStore::WriteError& e) {
        alert(fillMessage(appMessage(APP_SCHEME_WRITE_ERROR), e.m_Path));
    } catch (const std::exception& e) {
        alert(fillMessage(appMessage(APP_UNEXPECTED_ERROR_WITH_TEXT), e.what()));
    } catch (...) {
        alert(appMessage(APP_UNEXPECTED_ERROR));
        throw;
    }
}

std::string App::schemeStorePath()
{
    const Corvale::Registry registry = Corvale::Registry::forExecutable(m_ExecutablePath);
    boost::optional<Corvale::Registry::Key> key =
        registry.open(Corvale::Registry::Root::LOCAL_MACHINE, Corvale::QUILLON_REGISTRY_KEY);
    if (!key)
        key = registry.open(Corvale::Registry::Root::CURRENT_USER, Corvale::QUILLON_REGISTRY_KEY);
    if (!key) {
        alert(appMessage(APP_NO_REGISTRY_DATA));
        return std::string();
    }

    std::string value;
    if (key->queryString(Corvale::SCHEME_DIRECTORY_VALUE, value) && !value.empty())
        return value;

    const boost::filesystem::path exeDir = m_ExecutablePath.parent_path();
    boost::filesystem::path dir = exeDir / "Schemes";
    boost::system::error_code ec;
    if (!boost::filesystem::is_directory(dir, ec)) {
        alert(fillMessage(appMessage(APP_NO_SCHEME_STORAGE), exeDir.string()));
        dir = exeDir;
    }
    // Remembering the choice is a convenience: a root that cannot be
    // written still leaves a usable directory.
    (void)key->setString(Corvale::SCHEME_DIRECTORY_VALUE, dir.string());
    return dir.string();
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
