#include "camera/GreyPlane.h"

#include <optional>

namespace {

// Where the grey of a pixel is in plane 0: a byte every `step` bytes from `offset`, the high
// byte of a 16-bit sample, 10 bits of a 16-bit sample, or luma from R, G and B bytes.
struct Layout {
    enum class Sample { Byte, High16, Ten16, Rgb };
    Sample sample = Sample::Byte;
    int step = 1;
    int offset = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
};

Layout rgb(int red, int green, int blue) {
    return {Layout::Sample::Rgb, 4, 0, red, green, blue};
}

// The formats' names give their bytes in memory order (ARGB8888: A, R, G, B).
std::optional<Layout> layoutOf(QVideoFrameFormat::PixelFormat format) {
    using F = QVideoFrameFormat;
    switch (format) {
        case F::Format_YUV420P:
        case F::Format_YUV422P:
        case F::Format_YV12:
        case F::Format_NV12:
        case F::Format_NV21:
        case F::Format_IMC1:
        case F::Format_IMC2:
        case F::Format_IMC3:
        case F::Format_IMC4:
        case F::Format_Y8:
            return Layout{};
        case F::Format_YUYV:
            return Layout{Layout::Sample::Byte, 2, 0};
        case F::Format_UYVY:
            return Layout{Layout::Sample::Byte, 2, 1};
        case F::Format_AYUV:
        case F::Format_AYUV_Premultiplied:
            return Layout{Layout::Sample::Byte, 4, 1};
        case F::Format_Y16:
        case F::Format_P010:
        case F::Format_P016:
            return Layout{Layout::Sample::High16, 2, 1};
        case F::Format_YUV420P10:
            return Layout{Layout::Sample::Ten16, 2, 0};
        case F::Format_ARGB8888:
        case F::Format_ARGB8888_Premultiplied:
        case F::Format_XRGB8888:
            return rgb(1, 2, 3);
        case F::Format_BGRA8888:
        case F::Format_BGRA8888_Premultiplied:
        case F::Format_BGRX8888:
            return rgb(2, 1, 0);
        case F::Format_ABGR8888:
        case F::Format_XBGR8888:
            return rgb(3, 2, 1);
        case F::Format_RGBA8888:
        case F::Format_RGBX8888:
            return rgb(0, 1, 2);
        default:
            return std::nullopt;
    }
}

uchar greyOf(const uchar* pixel, const Layout& layout) {
    switch (layout.sample) {
        case Layout::Sample::Byte:
        case Layout::Sample::High16:
            return pixel[layout.offset];
        case Layout::Sample::Ten16:
            return static_cast<uchar>((pixel[0] | (pixel[1] << 8)) >> 2);
        case Layout::Sample::Rgb:
            return static_cast<uchar>((77 * pixel[layout.red] + 150 * pixel[layout.green] +
                                       29 * pixel[layout.blue] + 128) >>
                                      8);
    }
    return 0;
}

QImage greyFrom(const QVideoFrame& mapped, const Layout& layout) {
    const int width = mapped.width();
    const int height = mapped.height();
    QImage grey(width, height, QImage::Format_Grayscale8);
    const uchar* bits = mapped.bits(0);
    const int stride = mapped.bytesPerLine(0);
    for (int y = 0; y < height; ++y) {
        const uchar* row = bits + static_cast<qsizetype>(y) * stride;
        uchar* out = grey.scanLine(y);
        if (layout.sample == Layout::Sample::Byte && layout.step == 1) {
            std::copy(row, row + width, out);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            out[x] = greyOf(row + x * layout.step, layout);
        }
    }
    return grey;
}

}  // namespace

int GreyPlane::cost(QVideoFrameFormat::PixelFormat format) {
    if (format == QVideoFrameFormat::Format_Jpeg) {
        return 2;
    }
    const std::optional<Layout> layout = layoutOf(format);
    if (!layout) {
        return -1;
    }
    return layout->sample == Layout::Sample::Rgb ? 1 : 0;
}

bool GreyPlane::read(const QVideoFrame& video, CameraFrame& frame) {
    const QVideoFrameFormat::PixelFormat format = video.pixelFormat();
    const std::optional<Layout> layout = layoutOf(format);
    if (!layout && format != QVideoFrameFormat::Format_Jpeg) {
        return false;
    }
    QVideoFrame mapped(video);
    if (!mapped.map(QVideoFrame::ReadOnly)) {
        return false;
    }
    if (layout) {
        frame.grey = greyFrom(mapped, *layout);
    } else {
        frame.jpeg =
            QByteArray(reinterpret_cast<const char*>(mapped.bits(0)), mapped.mappedBytes(0));
    }
    mapped.unmap();
    return true;
}
