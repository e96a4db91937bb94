#include "tools/quorvane-run/GifWriter.h"

#include <algorithm>
#include <climits>
#include <tuple>
#include <unordered_map>

CGifWriter::CGifWriter(QSaveFile& file, const QImage& sheet) : m_file(file)
{
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) m_sheet.insert(sheet.pixel(x, y) & 0xFFFFFFu);
}

CGifWriter::~CGifWriter()
{
    if (m_gif) EGifCloseFile(m_gif, nullptr);
}

bool CGifWriter::Begin(int nWidth, int nHeight)
{
    int err = 0;
    m_gif = EGifOpen(this, &CGifWriter::Write, &err);
    if (!m_gif) return false;
    EGifSetGifVersion(m_gif, true);
    if (EGifPutScreenDesc(m_gif, nWidth, nHeight, 8, 0, nullptr) != GIF_OK) return false;
    // Loops for ever: the application extension that browsers read.
    static const GifByteType kLoop[3] = {1, 0, 0};
    return EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") == GIF_OK &&
           EGifPutExtensionBlock(m_gif, 3, kLoop) == GIF_OK && EGifPutExtensionTrailer(m_gif) == GIF_OK;
}

bool CGifWriter::AddFrame(const QImage& image, int nDelayCs)
{
    const QImage frame = image.convertToFormat(QImage::Format_RGB32);
    const QRect rect = ChangedRect(frame);
    // changed[k]: the pixel k of the rectangle is to be stored.
    std::vector<char> changed(static_cast<size_t>(rect.width()) * rect.height(), 1);
    bool transparent = false;
    if (!m_prev.isNull()) {
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x)
                if (Key(frame, rect.x() + x, rect.y() + y) == Key(m_prev, rect.x() + x, rect.y() + y)) {
                    changed[static_cast<size_t>(y) * rect.width() + x] = 0;
                    transparent = true;
                }
    }
    std::unordered_map<QRgb, int> exact;
    for (int y = 0; y < rect.height(); ++y)
        for (int x = 0; x < rect.width(); ++x)
            if (changed[static_cast<size_t>(y) * rect.width() + x]) exact.emplace(Key(frame, rect.x() + x, rect.y() + y), 0);
    if (transparent && exact.size() > 255) {
        // The one slot of transparency would cost an exact colour.
        transparent = false;
        std::fill(changed.begin(), changed.end(), 1);
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x) exact.emplace(Key(frame, rect.x() + x, rect.y() + y), 0);
    }

    const int nSlots = transparent ? 255 : 256;
    std::vector<GifColorType> colors;
    std::vector<GifByteType> indices(changed.size(), 0);
    if (static_cast<int>(exact.size()) <= nSlots) {
        for (auto& c : exact) {
            c.second = static_cast<int>(colors.size());
            colors.push_back(Color(c.first));
        }
        for (size_t k = 0; k < indices.size(); ++k)
            if (changed[k]) indices[k] = static_cast<GifByteType>(exact[PixelKey(frame, rect, k)]);
    } else {
        Quantise(frame, rect, changed, nSlots, colors, indices);
    }
    const int nTransparent = transparent ? static_cast<int>(colors.size()) : NO_TRANSPARENT_COLOR;
    if (transparent) {
        colors.push_back(GifColorType{0, 0, 0});
        for (size_t k = 0; k < indices.size(); ++k)
            if (!changed[k]) indices[k] = static_cast<GifByteType>(nTransparent);
    }
    int nMapSize = 2;
    while (nMapSize < static_cast<int>(colors.size())) nMapSize *= 2;
    colors.resize(static_cast<size_t>(nMapSize), GifColorType{0, 0, 0});

    GraphicsControlBlock gcb;
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = nDelayCs;
    gcb.TransparentColor = nTransparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    ColorMapObject* map = GifMakeMapObject(nMapSize, colors.data());
    if (!map) return false;
    bool ok = EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK &&
              EGifPutImageDesc(m_gif, rect.x(), rect.y(), rect.width(), rect.height(), false, map) == GIF_OK;
    for (int y = 0; ok && y < rect.height(); ++y)
        ok = EGifPutLine(m_gif, indices.data() + static_cast<size_t>(y) * rect.width(), rect.width()) == GIF_OK;
    GifFreeMapObject(map);
    m_prev = frame.copy();  // the frame may be a view of a surface the next tick draws over
    return ok;
}

bool CGifWriter::Finish()
{
    GifFileType* gif = m_gif;
    m_gif = nullptr;
    return EGifCloseFile(gif, nullptr) == GIF_OK && !m_bWriteFailed;
}

int CGifWriter::Write(GifFileType* gif, const GifByteType* data, int nLength)
{
    auto* self = static_cast<CGifWriter*>(gif->UserData);
    const qint64 n = self->m_file.write(reinterpret_cast<const char*>(data), nLength);
    if (n != nLength) self->m_bWriteFailed = true;
    return static_cast<int>(n);
}

QRgb CGifWriter::Key(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x] & 0xFFFFFFu;
}

QRgb CGifWriter::PixelKey(const QImage& image, const QRect& rect, size_t k)
{
    const int w = rect.width();
    return Key(image, rect.x() + static_cast<int>(k % w), rect.y() + static_cast<int>(k / w));
}

GifColorType CGifWriter::Color(QRgb c)
{
    return GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                        static_cast<GifByteType>(qBlue(c))};
}

QRect CGifWriter::ChangedRect(const QImage& frame) const
{
    if (m_prev.isNull() || m_prev.size() != frame.size()) return frame.rect();
    int x0 = frame.width(), y0 = frame.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < frame.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(m_prev.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            if (((a[x] ^ b[x]) & 0xFFFFFFu) != 0) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    return x1 < 0 ? QRect(0, 0, 1, 1) : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

bool CGifWriter::KeptExact(QRgb c) const
{
    auto pure = [](int v) { return v == 0 || v == 255; };
    return m_sheet.count(c) == 0 || (pure(qRed(c)) && pure(qGreen(c)) && pure(qBlue(c)));
}

void CGifWriter::Quantise(const QImage& frame, const QRect& rect, const std::vector<char>& changed, int nSlots,
              std::vector<GifColorType>& colors, std::vector<GifByteType>& indices) const
{
    std::unordered_map<QRgb, int> count;
    for (size_t k = 0; k < changed.size(); ++k)
        if (changed[k]) ++count[PixelKey(frame, rect, k)];
    std::vector<std::pair<QRgb, int>> order(count.begin(), count.end());
    auto rank = [this](const std::pair<QRgb, int>& a) { return std::make_tuple(!KeptExact(a.first), -a.second, a.first); };
    std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    std::unordered_map<QRgb, int> index;
    for (size_t i = 0; i < order.size(); ++i) {
        const QRgb c = order[i].first;
        if (i < static_cast<size_t>(nSlots)) {
            index[c] = static_cast<int>(i);
            colors.push_back(Color(c));
            continue;
        }
        int best = 0;
        long long bestDistance = LLONG_MAX;
        for (int j = 0; j < nSlots; ++j) {
            const long long dr = qRed(c) - colors[j].Red, dg = qGreen(c) - colors[j].Green,
                            db = qBlue(c) - colors[j].Blue;
            const long long d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) bestDistance = d, best = j;
        }
        index[c] = best;
    }
    for (size_t k = 0; k < changed.size(); ++k)
        if (changed[k]) indices[k] = static_cast<GifByteType>(index[PixelKey(frame, rect, k)]);
}
