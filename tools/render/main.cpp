// sorimo-render: draws one of the program's forms on the headless backend
// and writes the window's pixels as a PNG, for looking at pictures and for
// comparing them with screenshots of the real backends.
//
//   sorimo-render FORM ARGS... -o OUT.png
//
// The forms are listed in Commands.cpp. Exit codes: 0 written, 1 the
// rendering or the file failed, 2 a malformed command line.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/png/PngFile.h"
#include "tools/render/Commands.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void PrintUsage(std::ostream& out) {
    out << "usage:\n";
    for (const render::RenderCommand& c : render::Commands())
        out << "  sorimo-render " << c.Name << (c.Synopsis.empty() ? "" : " ") << c.Synopsis
            << " -o OUT.png\n";
    out << "COLOR is a colour written 0xBBGGRR.\n";
}

int UsageFailure(const std::string& message) {
    std::cerr << "sorimo-render: " << message << '\n';
    PrintUsage(std::cerr);
    return kUsage;
}

int Run(const render::RenderCommand& command, std::vector<std::string> words) {
    render::Arguments args(std::move(words));
    std::string out;
    try {
        out = args.TakeOption("-o").value_or("");
        if (out.empty()) throw render::UsageError("missing -o OUT.png");
        const gfx::TSurface picture = command.Render(args);
        platform::WritePng(out, picture);
    } catch (const render::UsageError& e) {
        return UsageFailure(std::string(command.Name) + ": " + e.what());
    } catch (const std::exception& e) {
        std::cerr << "sorimo-render: " << command.Name << ": " << e.what() << '\n';
        return kFailed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && (words[0] == "-h" || words[0] == "--help")) {
        PrintUsage(std::cout);
        return 0;
    }
    if (words.empty()) return UsageFailure("no form given");
    const render::RenderCommand* command = render::FindCommand(words[0]);
    if (!command) return UsageFailure("unknown form '" + words[0] + "'");
    return Run(*command, {words.begin() + 1, words.end()});
}
