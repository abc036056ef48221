// Measures the PNG export from a composed sheet to the file on disk, phase by phase, and
// compares the encoder with libspng's fastest setting on the same rendered sheet.
//   bench_export heavy [runs]     six largest photographs of one place, 4500 px, 2 columns
//   bench_export typical [runs]   four 2400 x 2000 photographs, 3000 px, 2 columns
//   bench_export encoders [runs]  the heavy sheet encoded by EncodePng and by libspng
//   bench_export pairs WIDTH FILE.qmp...  the sheet of those pair files, 2 columns, 5 runs
// One scenario per process, so that the peak memory printed belongs to it.
#include <libdeflate.h>
#include <spng.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "archive/archive_photo.h"
#include "archive/frame_preparation.h"
#include "archive/image_data.h"
#include "archive_rows.h"
#include "bench_util.h"
#include "export/atomic_write.h"
#include "export/export_names.h"
#include "export/export_sheet.h"
#include "export/png_encoder.h"
#include "pairs/pair_import.h"
#include "sheet/compose.h"

namespace {

using mirvane::archiveCatalog;
using mirvane::bench::MedianMs;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bench_export: %s failed\n", what);
    std::exit(1);
}

mirvane::Sheet HeavySheet() {
    const std::vector<int> rows = mirvane::bench::LargestRowsOfOnePlace(6);
    std::optional<mirvane::Sheet> sheet = mirvane::ComposeFromArchive(rows);
    if (!sheet) {
        Fail("composing the heavy sheet");
    }
    for (const mirvane::Frame& frame : sheet->frames) {
        const auto header = mirvane::imaging::ReadImageHeader(*frame.encodedBytes);
        std::printf("  frame %d: %zu bytes, %d x %d\n", frame.year, frame.encodedBytes->size(),
                    header ? header->width : 0, header ? header->height : 0);
    }
    return *sheet;
}

// Four frames of 2400 x 2000: archive photographs resampled to that size and saved as JPEG
// at quality 90, as a camera or an earlier export would give them.
mirvane::Sheet TypicalSheet() {
    const std::vector<int> rows = mirvane::bench::LargestRowsOfOnePlace(4);
    mirvane::Sheet sheet;
    sheet.title = QString::fromUtf16(archiveCatalog[rows[0]].location);
    for (int row : rows) {
        const std::shared_ptr<mirvane::ImageData> decoded =
            mirvane::DecodeImage(mirvane::LoadArchivePhoto(archiveCatalog[row]),
                                 [](QSize) { return QSize(2400, 2000); });
        if (!decoded) {
            Fail("decoding an archive photograph");
        }
        const QImage image = decoded->bitmap.Image().scaled(2400, 2000, Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        if (image.isNull() || !writer.write(image)) {
            Fail("making a 2400 x 2000 JPEG");
        }
        const QByteArray& jpeg = buffer.data();
        std::optional<mirvane::Frame> frame = mirvane::PrepareFrame(
            mirvane::Bytes(jpeg.begin(), jpeg.end()), archiveCatalog[row].year);
        if (!frame) {
            Fail("preparing a typical frame");
        }
        std::printf("  frame %d: %lld bytes, 2400 x 2000\n", frame->year,
                    static_cast<long long>(jpeg.size()));
        sheet.frames.push_back(*frame);
    }
    mirvane::SortFramesByYear(sheet.frames);
    return sheet;
}

// Linux keeps the process's resident high-water mark in /proc; writing 5 to clear_refs resets
// it, so the export's own peak can be told from the composition's before it.
void ResetPeakResident() {
    std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (file != nullptr) {
        std::fputs("5", file);
        std::fclose(file);
    }
}

// A "Vm...:" line of /proc/self/status, in MiB.
double StatusMb(const char* key) {
    std::FILE* file = std::fopen("/proc/self/status", "r");
    char line[256];
    double kb = 0;
    while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) {
        if (std::strncmp(line, key, std::strlen(key)) == 0) {
            kb = std::atof(line + std::strlen(key));
        }
    }
    if (file != nullptr) {
        std::fclose(file);
    }
    return kb / 1024.0;
}

double ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

// The whole export, drawn and written in bands; then, for comparison, the sheet drawn whole,
// encoded in memory and written, each phase on its own; each a median over `runs`.
void MeasureExport(const mirvane::Sheet& sheet, int width, int runs) {
    QTemporaryDir folder;
    const std::filesystem::path path = folder.path().toStdString();
    std::size_t fileBytes = 0;
    const double baseMb = StatusMb("VmRSS:");
    ResetPeakResident();
    const double totalMs = MedianMs(runs, [&] {
        const std::filesystem::path target = mirvane::MakeUniqueExportPath(path, ".png");
        if (!mirvane::ExportSheetToPng(sheet, 2, width, mirvane::UiLanguage::English, target)) {
            Fail("ExportSheetToPng");
        }
        fileBytes = std::filesystem::file_size(target);
        std::filesystem::remove(target);
    });
    const double peakMb = StatusMb("VmHWM:");

    std::vector<double> render, encode, write;
    double renderPeakMb = 0;
    double encodePeakMb = 0;
    double encodeBaseMb = 0;
    for (int i = 0; i < runs; ++i) {
        ResetPeakResident();
        auto start = std::chrono::steady_clock::now();
        mirvane::imaging::Bitmap bitmap;
        if (!mirvane::RenderSheetForExport(sheet, 2, width, mirvane::UiLanguage::English,
                                           &bitmap)) {
            Fail("RenderSheetForExport");
        }
        render.push_back(ElapsedMs(start));
        renderPeakMb = std::max(renderPeakMb, StatusMb("VmHWM:"));
        ResetPeakResident();
        encodeBaseMb = StatusMb("VmRSS:");
        start = std::chrono::steady_clock::now();
        const mirvane::Bytes png = mirvane::EncodePng(bitmap.Image());
        encode.push_back(ElapsedMs(start));
        encodePeakMb = std::max(encodePeakMb, StatusMb("VmHWM:"));
        bitmap = {};
        const std::filesystem::path target = mirvane::MakeUniqueExportPath(path, ".png");
        start = std::chrono::steady_clock::now();
        if (!mirvane::WriteFileAtomically(target, png)) {
            Fail("WriteFileAtomically");
        }
        write.push_back(ElapsedMs(start));
        std::filesystem::remove(target);
    }
    const auto median = [](std::vector<double> times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    std::printf("export %d px: median %.0f ms over %d runs\n", width, totalMs, runs);
    std::printf(
        "file %.2f MB; peak resident memory while exporting %.0f MiB, %.0f MiB above the %.0f MiB "
        "resident before (frames, previews, program)\n",
        fileBytes / 1e6, peakMb, peakMb - baseMb, baseMb);
    std::printf(
        "drawn whole instead: render %.0f ms, encode %.0f, write %.0f; peak resident memory "
        "while rendering %.0f MiB, while encoding %.0f MiB (%.0f MiB before encoding)\n",
        median(render), median(encode), median(write), renderPeakMb, encodePeakMb, encodeBaseMb);
}

struct SpngContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// libspng at its fastest documented setting: zlib's RLE strategy, its default filter choice.
std::size_t EncodeWithSpng(const QImage& sheet) {
    const QImage rgb = sheet.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<spng_ctx, SpngContextDeleter> context(spng_ctx_new(SPNG_CTX_ENCODER));
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(rgb.width());
    header.height = static_cast<std::uint32_t>(rgb.height());
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(context.get(), SPNG_IMG_COMPRESSION_STRATEGY, 3);  // Z_RLE
    spng_set_ihdr(context.get(), &header);
    if (spng_encode_image(context.get(), nullptr, 0, SPNG_FMT_PNG,
                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) != 0) {
        Fail("spng_encode_image");
    }
    for (int y = 0; y < rgb.height(); ++y) {
        const int result = spng_encode_row(context.get(), rgb.constScanLine(y),
                                           static_cast<std::size_t>(rgb.width()) * 3);
        if (result != 0 && !(result == SPNG_EOI && y + 1 == rgb.height())) {
            Fail("spng_encode_row");
        }
    }
    std::size_t size = 0;
    int error = 0;
    void* png = spng_get_png_buffer(context.get(), &size, &error);
    if (png == nullptr) {
        Fail("spng_get_png_buffer");
    }
    std::free(png);
    return size;
}

// The other candidate: libdeflate, which is faster than zlib on one core but can only compress
// a whole buffer into a finished stream, so it runs on one core after all rows are filtered.
std::size_t DeflateWithLibdeflate(const QImage& sheet) {
    const QImage rgb = sheet.convertToFormat(QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(rgb.width()) * 3;
    std::vector<std::uint8_t> filtered(rgb.height() * (1 + rowBytes));
    const std::vector<std::uint8_t> zeros(rowBytes, 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const std::uint8_t* row = rgb.constScanLine(y);
        const std::uint8_t* above = y > 0 ? rgb.constScanLine(y - 1) : zeros.data();
        std::uint8_t* out = filtered.data() + y * (1 + rowBytes);
        out[0] = 3;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            out[1 + i] =
                static_cast<std::uint8_t>(row[i] - (((i >= 3 ? row[i - 3] : 0) + above[i]) >> 1));
        }
    }
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(compressor, filtered.size()));
    const std::size_t size = libdeflate_zlib_compress(compressor, filtered.data(), filtered.size(),
                                                      out.data(), out.size());
    libdeflate_free_compressor(compressor);
    return size;
}

void CompareEncoders(const mirvane::Sheet& sheet, int runs) {
    mirvane::imaging::Bitmap bitmap;
    if (!mirvane::RenderSheetForExport(sheet, 2, 4500, mirvane::UiLanguage::English, &bitmap)) {
        Fail("RenderSheetForExport");
    }
    std::size_t ours = 0;
    const double oursMs = MedianMs(runs, [&] { ours = mirvane::EncodePng(bitmap.Image()).size(); });
    std::printf("EncodePng (igzip level 1, bands on every core): median %.0f ms, %.2f MB\n", oursMs,
                ours / 1e6);
    std::size_t whole = 0;
    const double wholeMs = MedianMs(runs, [&] { whole = DeflateWithLibdeflate(bitmap.Image()); });
    std::printf(
        "libdeflate level 1, one core (RGB copy, Average filter, deflate): median %.0f ms, "
        "%.2f MB\n",
        wholeMs, whole / 1e6);
    std::size_t spng = 0;
    const double spngMs =
        MedianMs(std::max(1, runs / 3), [&] { spng = EncodeWithSpng(bitmap.Image()); });
    std::printf("libspng Z_RLE, RGB8 (incl. the RGB copy): median %.0f ms, %.2f MB\n", spngMs,
                spng / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view scenario = argc > 1 ? argv[1] : "heavy";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    if (scenario == "heavy") {
        MeasureExport(HeavySheet(), 4500, runs);
    } else if (scenario == "typical") {
        MeasureExport(TypicalSheet(), 3000, runs);
    } else if (scenario == "encoders") {
        CompareEncoders(HeavySheet(), runs);
    } else if (scenario == "pairs" && argc > 3) {
        std::vector<QString> paths;
        for (int i = 3; i < argc; ++i) {
            paths.push_back(QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath());
        }
        const std::optional<mirvane::Sheet> sheet = mirvane::ImportPairFiles(paths);
        if (!sheet) {
            Fail("importing the pair files");
        }
        MeasureExport(*sheet, std::atoi(argv[2]), 5);
    } else {
        std::fputs(
            "usage: bench_export heavy|typical|encoders [runs]\n"
            "       bench_export pairs WIDTH FILE.qmp...\n",
            stderr);
        return 2;
    }
    return 0;
}
