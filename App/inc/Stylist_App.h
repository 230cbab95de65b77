// Stylist::App: the one application object of the process.
//
// It owns the three notification signals through which the formatting core
// reports progress, messages and alerts, and it formats one buffer with a
// named scheme. The command-line driver creates it once and never destroys
// it before the process exits.
#ifndef STYLIST_APP_H
#define STYLIST_APP_H

#include "Stylist_PropertySet.h"
#include "Stylist_PropertySetStore.h"
#include "Trn_Message.h"

#include <boost/filesystem/path.hpp>
#include <boost/signals2/signal.hpp>

#include <string>

namespace Stylist {

// Combines the answers of the progress receivers: go on only when every
// receiver says go on; with no receiver connected the answer is go on.
struct AllTrue {
    typedef bool result_type;
    template <typename InputIterator>
    bool operator()(InputIterator first, InputIterator last) const
    {
        bool result = true;
        for (; first != last; ++first)
            result = *first && result; // every receiver is asked
        return result;
    }
};

class App {
public:
    // (buffer name, progress text, step, step count) -> go on?
    typedef boost::signals2::signal<bool(const std::string&, const std::string&, int, int), AllTrue>
        ProgressSignal;
    // (severity 1 Information, 2 Warning, 3 Error; text)
    typedef boost::signals2::signal<void(int, const std::string&)> MessageSignal;
    typedef boost::signals2::signal<void(const std::string&)> AlertSignal;

    // The path must be absolute and name an existing file; a broken
    // precondition raises Corvale::ContractViolation.
    explicit App(const boost::filesystem::path& executablePath);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The application object, or null while there is none.
    static App* instance();

    ProgressSignal& progressSignal() { return m_Progress; }
    MessageSignal& messageSignal() { return m_Message; }
    AlertSignal& alertSignal() { return m_Alert; }

    const boost::filesystem::path& executablePath() const { return m_ExecutablePath; }

    // The three-number version shown to the user, "1.4.4" for a product
    // version of "1.4.4002.1".
    std::string versionString() const;

    // Formats buffer in place with the named scheme. On any failure the
    // buffer is left as it was and the failure is reported on the message
    // signal.
    void formatBuffer(std::string& buffer, const std::string& bufferName, const std::string& schemeName);

    // Emits the progress signal; answers whether to go on.
    bool progress(const std::string& bufferName, const std::string& text, int step, int count);

    // A copy of the named scheme, loading the scheme store first when it
    // is not loaded yet. A name the store does not hold raises AppException
    // with the unknown-scheme message.
    PropertySet scheme(const std::string& name);

    // Loads the scheme store from the scheme directory, once: after a
    // successful load nothing happens. An unreadable scheme file (or any
    // other failure while loading) is reported on the alert signal and
    // leaves the store unloaded, so the next lookup tries again; a failure
    // of an unknown kind is reported and raised again.
    void loadSchemes();
    bool schemesLoaded() const { return m_SchemesLoaded; }
    const PropertySetStore& schemeStore() const { return m_SchemeStore; }

    // The scheme directory: the "PropertySetStore" value of the product key
    // in the configuration store (the machine root first, then the user
    // root). Without a value it is the "Schemes" directory beside the
    // executable, or the executable's own directory when there is none
    // (with an alert); that choice is then stored as the value. Without the
    // product key in either root, alerts and answers the empty string.
    std::string schemeStorePath();

private:
    void alert(const std::string& text) { m_Alert(text); }

    ProgressSignal m_Progress;
    MessageSignal m_Message;
    AlertSignal m_Alert;
    boost::filesystem::path m_ExecutablePath;
    PropertySetStore m_SchemeStore;
    bool m_SchemesLoaded = false;

    static App* s_pInstance;
};

// The word shown for a message severity: "Information", "Warning" or
// "Error" for 1, 2 and 3, the empty string for any other value.
std::string severityWord(int severity);

// The line that shows a diagnostic about a buffer:
// "<buffer>(<line>): <severity word>: <text>".
std::string diagnosticLine(const std::string& bufferName, const Trn::Message& message);

// Composes the shown version from a product version text: the dots become
// blanks, three decimal numbers are read (anything after the third is
// ignored), each one above 1000 is divided by 1000, and the result is
// "major.minor.third".
std::string composeVersion(const std::string& productVersion);

} // namespace Stylist

#endif
