// mirvane-sheet: the command-line companion that works on the same code as the window.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

#include "archive/catalog.h"
#include "export/export_names.h"
#include "export/export_sheet.h"
#include "export/exports_folder.h"
#include "localization/ui_text.h"
#include "pairs/pair_import.h"
#include "platform/embedded_resources.h"
#include "platform/threads.h"
#include "render/fonts.h"
#include "sheet/compose.h"
#include "tools/photo_commands.h"
#include "tools/sheet_options.h"

namespace {

using namespace mirvane;

constexpr const char* kUsage =
    "usage: mirvane-sheet list\n"
    "       mirvane-sheet archive --place NAME --years Y,Y,... [options]\n"
    "       mirvane-sheet pairs FILE.qmp [FILE.qmp ...] [options]\n"
    "       mirvane-sheet pair [YEAR=]PHOTO [YEAR=]PHOTO -o FILE.qmp\n"
    "       mirvane-sheet photos [YEAR=]PHOTO ... [--title TEXT] [--credit TEXT] [options]\n"
    "       mirvane-sheet --help\n"
    "options: [--columns 2|3] [--width 3000|4500] [--lang en|de|fr|es] [-o FILE|DIR] "
    "[--timings]\n";

constexpr const char* kHelp =
    "Mirvane - chronological contact sheets, rendered without a window.\n"
    "\n"
    "usage: mirvane-sheet list\n"
    "       mirvane-sheet archive --place NAME --years Y,Y,... [options]\n"
    "       mirvane-sheet pairs FILE.qmp [FILE.qmp ...] [options]\n"
    "       mirvane-sheet pair [YEAR=]PHOTO [YEAR=]PHOTO -o FILE.qmp\n"
    "       mirvane-sheet photos [YEAR=]PHOTO ... [--title TEXT] [--credit TEXT] [options]\n"
    "       mirvane-sheet --help\n"
    "\n"
    "commands:\n"
    "  list      the archive's photographs: row, id, place, year, bytes\n"
    "  archive   a sheet of 2 to 6 years of one place of the archive\n"
    "  pairs     a sheet of the photographs of 1 to 3 Quillmere pair files\n"
    "  pair      writes a pair file of two photographs (JPEG, PNG or BMP), in the order\n"
    "            given, which the window opens; a PHOTO without YEAR= takes the year of\n"
    "            its EXIF date. Never overwrites a file\n"
    "  photos    a sheet of 2 to 6 photographs in year order; the title and the credit\n"
    "            line are those of a pair import unless --title and --credit say others\n"
    "\n"
    "options:\n"
    "  --columns 2|3          columns of the grid; 2 by default\n"
    "  --width 3000|4500      width of the PNG in pixels; 3000 by default\n"
    "  --lang en|de|fr|es     language of the sheet's texts; the user's by default\n"
    "  -o FILE|DIR            the PNG file, or a folder to give it a new unique name in;\n"
    "                         by default a new unique name in the exports folder\n"
    "  --timings              the time of each phase, on standard error\n"
    "  -h, --help             this text\n"
    "\n"
    "examples:\n"
    "  mirvane-sheet pair 1994=harbour-then.jpg harbour-now.jpg -o harbour.qmp\n"
    "  mirvane-sheet photos 1988=old.png new.jpg --title \"Our street\" -o street.png\n"
    "\n"
    "The path of the file written is printed. A refused photograph or file is named on\n"
    "standard error with the rule it breaks. Exit status: 0 done, 1 failed, 2 bad usage.\n";

void PrintError(TextId text) {
    std::fprintf(stderr, "%s\n", UiText(text).toUtf8().constData());
}

int ListCatalog() {
    for (std::size_t row = 0; row < archiveCatalog.size(); ++row) {
        const ArchiveEntry& entry = archiveCatalog[row];
        const auto bytes =
            platform::FindEmbeddedResource(static_cast<std::uint16_t>(entry.resourceId));
        std::printf("%zu\t%u\t%s\t%d\t%zu\n", row, entry.resourceId,
                    QString::fromUtf16(entry.location).toUtf8().constData(), entry.year,
                    bytes ? bytes->size() : std::size_t{0});
    }
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// The catalog rows of `place` for `years`, or nothing when one of them has no photograph.
std::optional<std::vector<int>> ArchiveRows(const QString& place, const std::vector<int>& years) {
    std::vector<int> rows;
    const std::u16string_view name(reinterpret_cast<const char16_t*>(place.utf16()),
                                   std::size_t(place.size()));
    const std::vector<int> placeRows = ArchiveRowsOf(name);
    for (int year : years) {
        const auto found = std::find_if(placeRows.begin(), placeRows.end(), [year](int row) {
            return archiveCatalog[std::size_t(row)].year == year;
        });
        if (found == placeRows.end()) {
            return std::nullopt;
        }
        rows.push_back(*found);
    }
    return rows;
}

// Where the sheet goes: a named file, a unique name inside a named folder, or a unique name in
// the exports folder. Empty when no such place can be had.
std::filesystem::path ExportTarget(const QString& output) {
    if (output.isEmpty()) {
        InitializeExportsFolder();
        return EnsureExportsFolder() ? MakeUniqueExportPath(exportsFolder, ".png")
                                     : std::filesystem::path();
    }
    const QFileInfo info(output);
    const std::filesystem::path absolute = QFile::encodeName(info.absoluteFilePath()).toStdString();
    return info.isDir() ? MakeUniqueExportPath(absolute, ".png") : absolute;
}

class PhaseTimer {
  public:
    explicit PhaseTimer(bool enabled) : enabled_(enabled) { timer_.start(); }
    void Done(const char* phase) {
        if (enabled_) {
            std::fprintf(stderr, "%-8s %7.1f ms\n", phase, timer_.nsecsElapsed() / 1e6);
        }
        timer_.restart();
    }

  private:
    bool enabled_;
    QElapsedTimer timer_;
};

// Draws, encodes and writes the sheet band by band; a failure of any of them is one failed
// export.
bool ExportSheet(const Sheet& sheet, const tools::SheetOptions& options,
                 const std::filesystem::path& target, PhaseTimer& timer) {
    if (target.empty()) {
        return false;
    }
    try {
        if (!ExportSheetToPng(sheet, options.columns, options.width, uiLanguage, target)) {
            return false;
        }
        timer.Done("export");
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int MakeSheet(const tools::SheetOptions& options) {
    PhaseTimer timer(options.timings);
    std::optional<Sheet> sheet;
    if (options.command == tools::Command::Archive) {
        const std::optional<std::vector<int>> rows = ArchiveRows(options.place, options.years);
        if (!rows) {
            std::fprintf(stderr, "no photograph of that place for one of those years\n%s", kUsage);
            return 2;
        }
        sheet = ComposeFromArchive(*rows);
        if (!sheet) {
            PrintError(TextId::SelectYearsStatus);
            return 1;
        }
    } else if (options.command == tools::Command::Photos) {
        sheet = tools::PhotoSheet(options);
        if (!sheet) {
            return 1;
        }
    } else {
        // The import itself refuses relative paths; the command line means them from here.
        std::vector<QString> paths;
        for (const QString& file : options.pairFiles) {
            paths.push_back(QFileInfo(file).absoluteFilePath());
        }
        sheet = ImportPairFiles(paths);
        if (!sheet) {
            PrintError(TextId::PairOpenFailedStatus);
            return 1;
        }
    }
    timer.Done("compose");
    const std::filesystem::path target = ExportTarget(options.output);
    if (!ExportSheet(*sheet, options, target, timer)) {
        PrintError(TextId::ExportFailedStatus);
        return 1;
    }
    std::printf("%s\n", target.c_str());
    return 0;
}

// Qt's own chatter (for instance about a missing runtime folder under the offscreen platform)
// would mix with the one line of output scripts read; keep only serious messages.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietMessages);
    // Text needs a GUI application, but this program never shows a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Before the application object, which would wait at exit for a pool thread that never ran.
    if (!platform::StartImageThreads()) {
        std::fputs("mirvane-sheet: the system could not start the threads it needs\n", stderr);
        return 1;
    }
    QGuiApplication app(argc, argv);
    QString error;
    const std::optional<tools::SheetOptions> options =
        tools::ParseSheetOptions(app.arguments().mid(1), &error);
    if (!options) {
        std::fprintf(stderr, "mirvane-sheet: %s\n%s", error.toUtf8().constData(), kUsage);
        return 2;
    }
    if (options->command == tools::Command::Help) {
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (options->command == tools::Command::List) {
        return ListCatalog();
    }
    if (options->command == tools::Command::Pair) {
        return tools::WritePairCommand(*options);
    }
    SelectUiLanguage();
    if (options->language) {
        SetUiLanguage(*options->language);
    }
    if (!RegisterFonts()) {
        PrintError(TextId::ExportFailedStatus);
        return 1;
    }
    return MakeSheet(*options);
}
