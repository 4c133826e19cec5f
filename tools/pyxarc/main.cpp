// pyxarc: the command-line tool that packs the game's archives and lets a
// maintainer inspect and change them. Exit codes: 0 success, 1 a damaged
// archive, a missing entry or a failed write, 2 bad usage.

#include "engine/common/Archive.hpp"
#include "engine/common/File.hpp"
#include "engine/common/LoggerSettings.hpp"
#include "engine/core/Utf8.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/platform/Path.hpp"
#include "tools/pyxarc/Verify.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;
using pyx::cmn::Archive;
using pyx::core::utf8ToWide;
using pyx::core::wideToUtf8;

namespace {

constexpr int ExitOk = 0;
constexpr int ExitDamaged = 1;
constexpr int ExitUsage = 2;

const char* const HelpText =
    "usage: pyxarc VERB ARCHIVE [ARGUMENTS]\n"
    "\n"
    "  create ARCHIVE [NAME=FILE | DIR]...\n"
    "      Writes a new archive (replacing ARCHIVE if it exists). NAME=FILE stores\n"
    "      FILE under the entry name NAME; DIR stores every file under DIR, named\n"
    "      by its path relative to DIR, in sorted order. A later argument naming\n"
    "      the same entry replaces the earlier one.\n"
    "  list ARCHIVE\n"
    "      Prints one line per entry: name, size in bytes, CRC-32 (hex).\n"
    "  extract ARCHIVE [NAME...] [-C DIR]\n"
    "      Writes the named entries (all entries when none is named) as files\n"
    "      under DIR (default: the current folder). Entries are checked first:\n"
    "      nothing is written when one is missing or damaged.\n"
    "  add ARCHIVE [NAME=FILE | DIR]...\n"
    "      Adds entries to an existing archive; an existing name is replaced.\n"
    "  remove ARCHIVE NAME...\n"
    "      Removes the named entries; every name must exist.\n"
    "  verify ARCHIVE\n"
    "      Checks the data region against the index and every record's CRC-32,\n"
    "      and that entry names are unique and in the stored form below.\n"
    "\n"
    "Entry names are normalized: \"/\" and \"\\\" both separate, \".\" and \"..\" are\n"
    "resolved, and names are stored with \"\\\". A name may not be absolute or\n"
    "climb above the archive's root.\n"
    "\n"
    "The archive is always rewritten to a temporary file beside it and moved into\n"
    "place in one step: a failed run leaves the old archive as it was.\n"
    "\n"
    "Exit status: 0 success; 1 damaged archive, missing entry or failed write;\n"
    "2 bad usage (unknown verb, bad arguments, unreadable input file).\n";

struct Failure {
    int code;
};

[[noreturn]] void fail(int code, const std::string& subject, const std::string& what) {
    std::cerr << "pyxarc: " << subject << ": " << what << "\n";
    throw Failure{code};
}

std::wstring wide(const std::string& text) {
    return utf8ToWide(text);
}
std::string narrow(const std::wstring& text) {
    return wideToUtf8(text);
}

// An entry name in the stored form, or "" when it cannot be one.
std::wstring entryName(const std::string& given) {
    return ironmoat::tools::storedEntryName(wide(given));
}

std::string displayName(const std::wstring& name) {
    return narrow(name);
}

// What to store: entry name -> source file, later arguments winning.
using Sources = std::map<std::wstring, std::string>;

void collectSources(const std::vector<std::string>& args, Sources& sources) {
    for (const std::string& arg : args) {
        const std::size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            const std::wstring name = entryName(arg.substr(0, eq));
            const std::string file = arg.substr(eq + 1);
            if (name.empty()) {
                fail(ExitUsage, arg, "bad entry name (empty, absolute or above the root)");
            }
            std::error_code ec;
            if (!fs::is_regular_file(file, ec)) {
                fail(ExitUsage, file, "no such file");
            }
            sources[name] = file;
            continue;
        }
        std::error_code ec;
        if (!fs::is_directory(arg, ec)) {
            fail(ExitUsage, arg, "not a folder (store a single file as NAME=FILE)");
        }
        std::vector<std::pair<std::wstring, std::string>> found;
        for (fs::recursive_directory_iterator it(arg, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (!it->is_regular_file()) {
                continue;
            }
            const std::string relative = fs::relative(it->path(), arg).generic_string();
            const std::wstring name = entryName(relative);
            if (name.empty()) {
                fail(ExitUsage, it->path().string(), "cannot be given an entry name");
            }
            found.emplace_back(name, it->path().string());
        }
        if (ec) {
            fail(ExitUsage, arg, "cannot read folder: " + ec.message());
        }
        std::sort(found.begin(), found.end());
        for (auto& item : found) {
            sources[item.first] = item.second;
        }
    }
}

void openArchive(Archive& archive, const std::string& path, bool readOnly) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        fail(ExitDamaged, path, "no such archive");
    }
    if (!archive.open(wide(path), readOnly)) {
        if (!archive.isOpen()) {
            fail(ExitDamaged, path, "cannot open (in use or not readable)");
        }
        fail(ExitDamaged, path, "not a valid archive (bad header, index or truncated data)");
    }
}

void queueSources(Archive& archive, const Sources& sources, const std::string& path) {
    for (const auto& [name, file] : sources) {
        if (!archive.addFile(name, wide(file))) {
            fail(ExitUsage, file, "cannot be stored as " + displayName(name));
        }
    }
    if (!sources.empty() && !archive.commit()) {
        fail(ExitDamaged, path, "could not write the new archive (old one kept)");
    }
}

int doCreate(const std::string& path, const std::vector<std::string>& args) {
    Sources sources;
    collectSources(args, sources);
    // The new archive grows in a temporary file beside the target and takes
    // its name only when complete, so a failure never costs the old one.
    const std::wstring temp = Archive::makeTempName(pyx::wrp::directoryOf(wide(path)));
    const std::string tempPath = narrow(temp);
    try {
        {
            pyx::cmn::File header;
            const char empty[16] = {'P', 'Y', 'X', 'A', 'r', 'c', 'h', 'i',
                                    'v', 'e', 0,   0,   0,   0,   1,   0};
            if (!header.open(temp, pyx::wrp::FileDriver::ModeCreate) ||
                !header.writeExact(empty, sizeof empty)) {
                fail(ExitDamaged, tempPath, "cannot create temporary file");
            }
        }
        Archive archive;
        if (!archive.open(temp, false)) {
            fail(ExitDamaged, tempPath, "cannot reopen temporary file");
        }
        queueSources(archive, sources, path);
        archive.close();
        if (std::rename(tempPath.c_str(), path.c_str()) != 0) {
            fail(ExitDamaged, path, "cannot replace the archive");
        }
    } catch (const Failure&) {
        std::remove(tempPath.c_str());
        throw;
    }
    return ExitOk;
}

int doList(const std::string& path, const std::vector<std::string>& args) {
    if (!args.empty()) {
        fail(ExitUsage, "list", "takes only the archive");
    }
    Archive archive;
    openArchive(archive, path, true);
    for (const auto& entry : archive.entries()) {
        char crc[16];
        std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(entry.crc));
        std::cout << displayName(entry.name) << '\t' << entry.size << '\t' << crc << '\n';
    }
    return ExitOk;
}

int doExtract(const std::string& path, const std::vector<std::string>& args) {
    std::string target = ".";
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-C") {
            if (i + 1 >= args.size()) {
                fail(ExitUsage, "extract", "-C needs a folder");
            }
            target = args[++i];
            continue;
        }
        const std::wstring name = entryName(args[i]);
        if (name.empty()) {
            fail(ExitUsage, args[i], "bad entry name");
        }
        names.push_back(name);
    }
    Archive archive;
    openArchive(archive, path, true);
    if (names.empty()) {
        for (const auto& entry : archive.entries()) {
            names.push_back(entry.name);
        }
    }
    // Everything is read and checked before the first file is written.
    std::vector<std::pair<fs::path, std::vector<std::uint8_t>>> outputs;
    for (const std::wstring& name : names) {
        // A stored name comes from the archive, which may be hostile: it
        // must not lead outside the target folder.
        if (entryName(narrow(name)) != name) {
            fail(ExitDamaged, path, "entry " + displayName(name) + " has an unsafe name");
        }
        std::vector<std::uint8_t> bytes;
        const bool known = std::any_of(archive.entries().begin(), archive.entries().end(),
                                       [&](const auto& e) { return e.name == name; });
        if (!known) {
            fail(ExitDamaged, path, "no entry " + displayName(name));
        }
        if (!archive.readEntry(name, bytes)) {
            fail(ExitDamaged, path, "entry " + displayName(name) + " is damaged (CRC mismatch)");
        }
        std::string relative = narrow(name);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        outputs.emplace_back(fs::path(target) / relative, std::move(bytes));
    }
    for (const auto& [file, bytes] : outputs) {
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        pyx::cmn::File out;
        if (ec || !out.open(wide(file.string()), pyx::wrp::FileDriver::ModeCreate) ||
            !out.writeExact(bytes.data(), bytes.size())) {
            out.close();
            std::remove(file.string().c_str());
            fail(ExitDamaged, file.string(), "cannot write file");
        }
    }
    return ExitOk;
}

int doAdd(const std::string& path, const std::vector<std::string>& args) {
    Sources sources;
    collectSources(args, sources);
    Archive archive;
    openArchive(archive, path, false);
    queueSources(archive, sources, path);
    return ExitOk;
}

int doRemove(const std::string& path, const std::vector<std::string>& args) {
    if (args.empty()) {
        fail(ExitUsage, "remove", "names no entry");
    }
    Archive archive;
    openArchive(archive, path, false);
    for (const std::string& arg : args) {
        const std::wstring name = entryName(arg);
        const bool known = std::any_of(archive.entries().begin(), archive.entries().end(),
                                       [&](const auto& e) { return e.name == name; });
        if (name.empty() || !known) {
            fail(ExitDamaged, path, "no entry " + arg);
        }
        archive.remove(name);
    }
    if (!archive.commit()) {
        fail(ExitDamaged, path, "could not write the new archive (old one kept)");
    }
    return ExitOk;
}

int doVerify(const std::string& path, const std::vector<std::string>& args) {
    if (!args.empty()) {
        fail(ExitUsage, "verify", "takes only the archive");
    }
    const ironmoat::tools::ArchiveCheck check = ironmoat::tools::verifyArchive(path);
    for (const std::string& problem : check.problems) {
        std::cerr << "pyxarc: " << problem << "\n";
    }
    if (!check.ok()) {
        throw Failure{ExitDamaged};
    }
    std::cout << path << ": " << check.entries << " entries OK\n";
    return ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    // The tool reports for itself on stderr; the engine's log lines (and
    // the log file) would only add noise around them.
    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
    settings->clearConsoleOutput();
    settings->clearFileOutput();

    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "pyxarc: no verb given (try pyxarc --help)\n";
        return ExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << HelpText;
        return ExitOk;
    }
    const std::string verb = args[0];
    if (args.size() < 2) {
        std::cerr << "pyxarc: " << verb << ": no archive given (try pyxarc --help)\n";
        return ExitUsage;
    }
    const std::string path = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    try {
        if (verb == "create") {
            return doCreate(path, rest);
        }
        if (verb == "list") {
            return doList(path, rest);
        }
        if (verb == "extract") {
            return doExtract(path, rest);
        }
        if (verb == "add") {
            return doAdd(path, rest);
        }
        if (verb == "remove") {
            return doRemove(path, rest);
        }
        if (verb == "verify") {
            return doVerify(path, rest);
        }
        std::cerr << "pyxarc: " << verb << ": unknown verb (try pyxarc --help)\n";
        return ExitUsage;
    } catch (const Failure& failure) {
        return failure.code;
    }
}
