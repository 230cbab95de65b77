// The program entry: options, input, formatting, output, exit status.
#include "Corvale_Exception.h"
#include "Corvale_LineBuf.h"
#include "Stylist_App.h"
#include "Stylist_Exception.h"
#include "Stylist_Messages.h"
#include "Stylist_OutputFile.h"

#include <boost/program_options.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <new>
#include <string>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace po = boost::program_options;

namespace {

const int EXIT_OK = 0;
const int EXIT_ALERT = 1;

void printAlert(const std::string& text) { std::cerr << "ALERT: " << text << std::endl; }

void printMessage(int /*severity*/, const std::string& text) { std::cout << text << std::endl; }

[[noreturn]] void alertAndExit(const std::string& text)
{
    printAlert(text);
    std::exit(EXIT_ALERT);
}

[[noreturn]] void alertAndExit(int topLevelNumber, const std::string& fill)
{
    alertAndExit(Stylist::fillMessage(Stylist::topLevelMessage(topLevelNumber), fill));
}

// The absolute path of the running program, with every symbolic link
// resolved; empty when the system cannot tell.
std::string executablePath()
{
    char buffer[2048];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer)
        return std::string();
    return std::string(buffer, static_cast<std::size_t>(n));
}

// Sets aside, at the top of the heap, the room a run over a text of this
// size will use, and asks the system to back it with huge pages where it
// offers them. A run touches about sixteen bytes per byte of text, nearly
// all of it fresh memory; in 4 kB pages every page costs a fault, which on
// a large text was about a tenth of the run's time. Only address space is
// set aside: memory is still taken page by page as the run touches it.
// Smaller texts, and systems without huge pages, run as before.
void reserveHeapFor(std::size_t textSize)
{
    const std::size_t HUGE_PAGE = 2 * 1024 * 1024;
    // Below this a run's heap spans too few huge pages to gain from them;
    // above it the room stays under the trim threshold set in main, so that
    // freeing it never hands it back.
    const std::size_t LEAST = 2 * HUGE_PAGE;
    const std::size_t MOST = 192 * 1024 * 1024;
    const std::size_t room = std::min(textSize * 24, MOST);
    if (room < LEAST)
        return;
    char* const before = static_cast<char*>(::sbrk(0));
    // The heap grows by the room on its next extension, which a block
    // larger than what is left at its top forces. (The block goes through
    // a volatile pointer: the compiler may drop an allocation freed unused.)
    ::mallopt(M_TOP_PAD, static_cast<int>(room));
    void* volatile pBlock = std::malloc(std::min<std::size_t>(room / 4, 16 * 1024 * 1024));
    ::mallopt(M_TOP_PAD, 128 * 1024);
    std::free(pBlock);
    char* const after = static_cast<char*>(::sbrk(0));
    if (before == reinterpret_cast<char*>(-1) || after <= before)
        return;
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(before) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(after);
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE); // a hint: failure changes nothing
}

// Appends everything the stream buffer yields, line ends normalised to
// single newlines.
void readNormalised(std::streambuf* source, std::string& buffer)
{
    // A file's size is known ahead: the buffer is allocated once.
    const std::streamsize available = source->in_avail();
    if (available > 0) {
        reserveHeapFor(static_cast<std::size_t>(available));
        buffer.reserve(buffer.size() + static_cast<std::size_t>(available));
    }
    Corvale::LineBuf lines(source, Corvale::LineBuf::WRITE_LF);
    char block[1 << 16];
    std::streamsize n;
    while ((n = lines.sgetn(block, sizeof block)) > 0)
        buffer.append(block, static_cast<std::size_t>(n));
}

std::string readInput(const std::string& inName)
{
    std::string buffer;
    if (inName == "-") {
        readNormalised(std::cin.rdbuf(), buffer);
        // A pipe's size is known only now.
        reserveHeapFor(buffer.size());
        return buffer;
    }
    std::ifstream in(inName, std::ios::in | std::ios::binary);
    if (!in.is_open() || !in.good())
        alertAndExit(Stylist::MSG_CANNOT_OPEN_INPUT, inName);
    try {
        readNormalised(in.rdbuf(), buffer);
    } catch (const std::ios_base::failure&) {
        // The file buffer reports a failed read (a directory, an I/O
        // error) by throwing from its refill.
        in.setstate(std::ios::badbit);
    }
    if (in.bad() || in.fail())
        alertAndExit(Stylist::MSG_CANNOT_READ_INPUT, inName);
    return buffer;
}

void writeOutput(const std::string& outName, const std::string& buffer)
{
    if (outName == "-") {
        std::cout.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::cout.flush();
        if (!std::cout.good())
            alertAndExit(Stylist::MSG_CANNOT_WRITE_OUTPUT, outName);
        return;
    }
    switch (Stylist::writeOutputFile(outName, buffer)) {
    case Stylist::WriteResult::OK:
        return;
    case Stylist::WriteResult::CANNOT_OPEN:
        alertAndExit(Stylist::MSG_CANNOT_OPEN_OUTPUT, outName);
    case Stylist::WriteResult::CANNOT_WRITE:
        alertAndExit(Stylist::MSG_CANNOT_WRITE_OUTPUT, outName);
    }
}

int run(int argc, char* argv[], const std::string& exePath)
{
    Stylist::App* app = new Stylist::App(exePath); // lives until the process exits
    app->alertSignal().connect(&printAlert);
    app->messageSignal().connect(&printMessage);

    po::options_description options(
        Stylist::fillMessage(Stylist::topLevelMessage(Stylist::MSG_VERSION_BANNER), app->versionString()));
    options.add_options()
        ("help", "shows usage and options information")
        ("version", "prints version information")
        ("scheme", po::value<std::string>()->value_name("scheme"), "scheme name to use for formatting")
        ("in", po::value<std::string>()->value_name("input_file"),
         "name of the file to be read (use - for standard input)")
        ("out", po::value<std::string>()->value_name("output_file"),
         "name of the file to write (use - for standard output)");

    po::variables_map vm;
    // No positional arguments are declared, so a stray word on the command
    // line is reported by the option library instead of being ignored.
    po::positional_options_description noPositionals;
    po::store(po::command_line_parser(argc, argv).options(options).positional(noPositionals).run(), vm);
    po::notify(vm);

    if (vm.count("help")) {
        std::cout << options << std::endl;
        return EXIT_OK;
    }
    if (vm.count("version")) {
        std::cout << Stylist::fillMessage(Stylist::topLevelMessage(Stylist::MSG_VERSION_BANNER),
                                          app->versionString())
                  << std::endl;
        return EXIT_OK;
    }
    if (!vm.count("in") || !vm.count("out") || !vm.count("scheme")) {
        std::cout << options << std::endl;
        return EXIT_OK;
    }

    const std::string schemeName = vm["scheme"].as<std::string>();
    const std::string inName = vm["in"].as<std::string>();
    const std::string outName = vm["out"].as<std::string>();

    std::string buffer = readInput(inName);
    app->formatBuffer(buffer, inName, schemeName);
    writeOutput(outName, buffer);
    return EXIT_OK;
}

} // namespace

int main(int argc, char* argv[])
{
    // Each pass builds its tokens, tree and output afresh and frees them
    // when it ends. Large blocks are kept in the heap rather than mapped and
    // unmapped for each allocation, so the next pass reuses pages already
    // touched instead of faulting in new ones (a fifth of a run's time on a
    // large file was the kernel clearing pages). 32 MB is the largest
    // threshold the C library accepts.
    ::mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);

    const std::string exePath = executablePath();
    if (exePath.empty())
        alertAndExit(Stylist::topLevelMessage(Stylist::MSG_NO_EXECUTABLE_PATH));

    try {
        std::exit(run(argc, argv, exePath));
    } catch (const Stylist::PropertyMissingException& e) {
        alertAndExit(Stylist::MSG_SCHEME_NEEDS_CONVERSION, e.schemeName());
    } catch (const Stylist::AppException& e) {
        alertAndExit(e.message());
    } catch (const Corvale::ContractViolation& e) {
        alertAndExit(Stylist::MSG_INTERNAL_INCONSISTENCY, e.description());
    } catch (const std::bad_alloc&) {
        alertAndExit(Stylist::topLevelMessage(Stylist::MSG_OUT_OF_MEMORY));
    } catch (const std::exception& e) {
        alertAndExit(Stylist::MSG_UNEXPECTED_ERROR_WITH_TEXT, e.what());
    } catch (...) {
        alertAndExit(Stylist::topLevelMessage(Stylist::MSG_UNEXPECTED_ERROR));
    }
}
