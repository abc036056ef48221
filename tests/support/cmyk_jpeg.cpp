#include "support/cmyk_jpeg.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace mirvane::testing {

Bytes CmykJpegOf(const QImage& image, CmykJpeg kind) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const bool inverted = kind != CmykJpeg::PlainCmyk;
    std::vector<JSAMPLE> row(static_cast<std::size_t>(rgb.width()) * 4);

    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, kind == CmykJpeg::AdobeYcck ? JCS_YCCK : JCS_CMYK);
    cinfo.write_Adobe_marker = kind != CmykJpeg::PlainCmyk;
    jpeg_set_quality(&cinfo, 95, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {  // no chroma subsampling
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            const int k = 255 - std::max({qRed(p), qGreen(p), qBlue(p)});
            const auto ink = [k](int channel) {
                return k == 255 ? 0 : (255 - channel - k) * 255 / (255 - k);
            };
            const int values[] = {ink(qRed(p)), ink(qGreen(p)), ink(qBlue(p)), k};
            for (int c = 0; c < 4; ++c) {
                row[static_cast<std::size_t>(x) * 4 + c] =
                    static_cast<JSAMPLE>(inverted ? 255 - values[c] : values[c]);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    if (bytes.empty()) {
        throw std::runtime_error("test CMYK JPEG not encoded");
    }
    return bytes;
}

}  // namespace mirvane::testing
