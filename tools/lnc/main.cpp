// lnc: pack a linac text into a .lnc file, unpack one, or dump what the reader understood.

#include "core/common/file_bytes.h"
#include "core/common/file_write.h"
#include "core/linac/linac_file.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/program_title.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: lnc pack TEXT OUT.lnc\n"
    "  or:  lnc unpack IN.lnc\n"
    "  or:  lnc dump IN.lnc\n"
    "Packs a linac text into a linac file of KOVA X (*.lnc: the commissioning data of one\n"
    "linac), unpacks one, or dumps what the reader understood of one.\n"
    "\n"
    "  pack TEXT OUT.lnc  compress a linac text into a linac file; a text the reader refuses\n"
    "                     is refused, with the reader's reason\n"
    "  unpack IN.lnc      write the text of a linac file to stdout\n"
    "  dump IN.lnc        write what the reader understood of a linac file\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Exit status: 0 done, 1 the file was refused or could not be written, 2 usage errors.\n";

int Fail(const std::string& message) {
    std::cerr << "lnc: " << message << '\n';
    return kExitFailed;
}

int Pack(const std::string& textPath, const std::string& outPath) {
    const kova::FileBytes text = kova::ReadFileBytes(textPath, kova::kMaxLinacTextBytes);
    if (!text.ok()) {
        return Fail(text.reason);
    }
    // A text the program would reject is refused here, so no broken linac file is made.
    kova::TLinacSpec linac;
    const kova::LoadResult read = kova::ReadLinacText(text.bytes, linac);
    if (!read.accepted()) {
        return Fail(textPath + " is not a linac text: " + read.reason);
    }
    const kova::Result<std::string> packed = kova::PackLinacText(text.bytes);
    if (!packed) {
        return Fail(packed.reason());
    }
    // The output is made anew on every pack (the build repacks the demo linacs).
    const kova::Status written = kova::WriteFileAtomically(outPath, *packed, true);
    return written ? kExitOk : Fail(written.reason());
}

int Unpack(const std::string& path) {
    const kova::FileBytes file = kova::ReadFileBytes(path, 2 * kova::kMaxLinacTextBytes);
    if (!file.ok()) {
        return Fail(file.reason);
    }
    const kova::Result<std::string> text = kova::UnpackLinacFile(file.bytes);
    if (!text) {
        return Fail(path + " is not a linac file: " + text.reason());
    }
    std::cout.write(text->data(), static_cast<std::streamsize>(text->size()));
    return std::cout.flush() ? kExitOk : Fail("cannot write to stdout");
}

int Dump(const std::string& path) {
    kova::TLinacSpec linac;
    const kova::LoadResult result = linac.LoadFromFile(path);
    if (!result.accepted()) {
        if (result.outcome == kova::LoadOutcome::CannotOpen) {
            return Fail(result.reason);
        }
        return Fail(path + " is not a linac file: " + result.reason);
    }
    linac.WriteTo(std::cout);
    return std::cout.flush() ? kExitOk : Fail("cannot write to stdout");
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        const kova::ProgramInfo info{KOVA_PRODUCT_NAME, KOVA_PRODUCT_VERSION};
        std::cout << info.VersionLine("lnc") << '\n';
        return kExitOk;
    }
    if (args.size() == 3 && args[0] == "pack") {
        // A pack stopped by Ctrl+C or a kill leaves no temporary file next to OUT.lnc.
        kova::RemoveTemporaryFileOnInterrupt();
        return Pack(args[1], args[2]);
    }
    if (args.size() == 2 && args[0] == "unpack") {
        return Unpack(args[1]);
    }
    if (args.size() == 2 && args[0] == "dump") {
        return Dump(args[1]);
    }
    std::cerr << kUsage;
    return kExitUsage;
}
