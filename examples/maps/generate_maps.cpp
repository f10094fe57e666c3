// Draws the demo strategic maps of the invented land of the demo OvData files and writes them in
// every form the editor reads:
//   Intrface.brm        the PC container, pictures 13 to 18 (IDs 1013 to 1018)
//   mac/UI + mac/._UI   an empty 'UI' with its resource fork in an AppleDouble sidecar
//   mac/UI.bin          the same file as MacBinary III
//   mac/UI.hqx          the same file as BinHex 4.0
//   OverviewMap.png     the overview map (314 x 491) as a plain picture file
//   SmallMap.png        the 200 x 300 title card, for trying a smaller picture
// The forks hold PICT resources 1013 to 1018. Everything is drawn here from shapes; the layout
// follows the entries of examples/src/OvData*.json so the demo rectangles sit on the right places.
// Build and run: ./generate_maps.sh
#include "MacFileWriters.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kMapWidth = 314;
constexpr int kMapHeight = 491;

const QColor kLand(0xdd, 0xd6, 0xa9);
const QColor kFen(0xc4, 0xcf, 0xa3);
const QColor kSea(0x8d, 0xb6, 0xcf);
const QColor kWater(0x5b, 0x8f, 0xbf);
const QColor kWood(0x8f, 0xae, 0x6c);
const QColor kOrchard(0x6f, 0x93, 0x50);
const QColor kRoad(0x9a, 0x3b, 0x25);
const QColor kTown(0x6d, 0x2a, 0x1d);
const QColor kInk(0x2e, 0x2a, 0x22);
const QColor kHill[4] = {QColor(0xd6, 0xbd, 0x93), QColor(0xcc, 0xa6, 0x7d), QColor(0xbe, 0x8c, 0x68),
                         QColor(0xad, 0x72, 0x56)};

// A small deterministic generator, so every run draws the same maps on every machine.
struct Lcg {
    std::uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 16777216.0;
    }
    double range(double a, double b) { return a + (b - a) * next(); }
};

QPainterPath smoothPath(const std::vector<QPointF>& points) {
    QPainterPath path(points.front());
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const QPointF mid = (points[i] + points[i + 1]) / 2.0;
        path.quadTo(points[i], mid);
    }
    path.lineTo(points.back());
    return path;
}

struct Place {
    const char* name;
    QPointF at;
    enum Kind { Town, Village, Bridge, Mill, Tower, Chateau, Chapel, Quarry, Windmill, Sluice, Station } kind;
};

// The world, in the overview map's pixels. Places sit at the centres of the demo battles.
const std::vector<Place>& places() {
    static const std::vector<Place> list = {
        {"Fährmann's Crossing", {37, 62}, Place::Bridge}, {"Orchard Ridge", {84, 64}, Place::Village},
        {"Kessel Bridge", {134, 39}, Place::Bridge},      {"Stone Mill", {61, 126}, Place::Mill},
        {"Greyfield", {126, 119}, Place::Town},           {"Brückenau", {36, 186}, Place::Town},
        {"Tanner's Lane", {62, 188}, Place::Village},     {"Old Quarry", {98, 200}, Place::Quarry},
        {"Chapel Hill", {130, 197}, Place::Chapel},       {"Signal Tower", {202, 54}, Place::Tower},
        {"Château Vérane", {270, 63}, Place::Chateau},    {"Switchback", {180, 171}, Place::Village},
        {"Eagle Saddle", {236, 175}, Place::Village},     {"Summit Relay", {273, 182}, Place::Tower},
        {"Causeway Nord", {68, 298}, Place::Village},     {"Ferry Landing", {245, 276}, Place::Village},
        {"Dike Breach", {55, 369}, Place::Village},       {"Ålholm", {176, 364}, Place::Town},
        {"Pumping Station", {236, 354}, Place::Station},  {"Sluice Gate", {58, 453}, Place::Sluice},
        {"Windmill Row", {194, 432}, Place::Windmill},
    };
    return list;
}

QPainterPath coastline() {
    // Land above, sea below; the sea is the area under this line.
    QPainterPath sea = smoothPath({{-10, 478},
                                   {30, 476},
                                   {70, 472},
                                   {110, 479},
                                   {150, 471},
                                   {200, 466},
                                   {240, 458},
                                   {270, 452},
                                   {300, 440},
                                   {330, 436}});
    sea.lineTo(330, 520);
    sea.lineTo(-10, 520);
    sea.closeSubpath();
    return sea;
}

std::vector<QPointF> riverAsh() {
    return {{132, -10}, {135, 20}, {134, 39}, {110, 50}, {80, 56},  {52, 58},  {37, 62},
            {30, 90},   {34, 120}, {30, 150}, {36, 186}, {44, 215}, {40, 245}, {60, 275},
            {68, 298},  {50, 330}, {45, 370}, {52, 410}, {58, 453}, {56, 485}};
}

std::vector<QPointF> riverRouge() {
    return {{325, 95},  {300, 120}, {290, 150}, {300, 200}, {285, 235}, {262, 258},
            {245, 276}, {252, 300}, {276, 330}, {282, 380}, {290, 420}, {300, 445}};
}

std::vector<std::vector<QPointF>> roads() {
    return {
        {{134, -10},
         {134, 39},
         {128, 80},
         {126, 119},
         {130, 160},
         {130, 197},
         {150, 240},
         {168, 300},
         {176, 364},
         {194, 432},
         {205, 470}},
        {{-10, 128},
         {61, 126},
         {126, 119},
         {160, 140},
         {180, 171},
         {200, 162},
         {214, 182},
         {236, 175},
         {273, 182},
         {325, 190}},
        {{134, 39}, {170, 48}, {202, 54}, {240, 56}, {270, 63}, {325, 58}},
        {{37, 62}, {60, 66}, {84, 64}, {110, 62}, {134, 39}},
        {{62, 188}, {36, 186}, {-10, 190}},
        {{62, 188}, {98, 200}, {130, 197}},
        {{62, 188}, {66, 240}, {68, 298}, {58, 330}, {55, 369}, {60, 410}, {58, 453}},
        {{176, 364}, {236, 354}, {250, 320}, {245, 276}, {250, 240}, {273, 182}},
        {{55, 369}, {120, 366}, {176, 364}},
    };
}

QRectF sectorRects[3] = {QRectF(12, 16, 141, 221), QRectF(162, 16, 141, 221), QRectF(18, 250, 279, 229)};
const char* sectorNames[3] = {"ASHGROVE VALLEY", "CÔTE ROUGE HEIGHTS", "LØVENMARK FENS"};

// Draws the whole world through the painter's transform; `labelScale` is the world-to-pixel
// scale, used to keep symbols and lettering at a readable pixel size on every map.
void drawWorld(QPainter& p, double labelScale, bool overview) {
    const double px = 1.0 / labelScale; // one output pixel in world units
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(-20, -20, 360, 540), kLand);

    // Fens: the southern lowland with its polder ditches.
    QPainterPath fens = smoothPath({{-10, 244}, {60, 248}, {120, 240}, {200, 246}, {260, 238}, {330, 244}});
    fens.lineTo(330, 520);
    fens.lineTo(-10, 520);
    fens.closeSubpath();
    p.fillPath(fens, kFen);
    p.save();
    p.setClipPath(fens.subtracted(coastline()));
    p.setPen(QPen(QColor(0x9f, 0xb5, 0x8c), 1.0 * px));
    for (double y = 262; y < 480; y += 14)
        p.drawLine(QPointF(-10, y), QPointF(330, y - 6));
    for (double x = 0; x < 330; x += 26)
        p.drawLine(QPointF(x, 240), QPointF(x + 12, 500));
    p.restore();

    // Heights of Côte Rouge: nested contour fills.
    Lcg rng{20260};
    struct Hill {
        QPointF c;
        double rx, ry;
        int levels;
    };
    const Hill hills[] = {{{230, 118}, 62, 44, 4}, {{276, 178}, 30, 26, 4}, {{198, 60}, 26, 20, 3},
                          {{268, 52}, 30, 18, 2},  {{180, 200}, 20, 30, 2}, {{110, 205}, 18, 14, 2}};
    for (const Hill& hill : hills)
        for (int level = 0; level < hill.levels; ++level) {
            const double shrink = 1.0 - 0.24 * level;
            std::vector<QPointF> ring;
            for (int k = 0; k <= 18; ++k) {
                const double a = 2 * M_PI * k / 18;
                const double wobble =
                    1.0 + 0.08 * std::sin(3 * a + level + hill.c.x()) + 0.05 * std::cos(5 * a);
                ring.push_back(hill.c + QPointF(std::cos(a) * hill.rx * shrink * wobble,
                                                std::sin(a) * hill.ry * shrink * wobble));
            }
            QPainterPath path = smoothPath(ring);
            path.closeSubpath();
            p.fillPath(path, kHill[level]);
            p.setPen(QPen(kHill[std::min(level + 1, 3)], 1.0 * px));
            p.drawPath(path);
        }

    // Woods, as clusters of round crowns.
    struct Wood {
        QPointF c;
        double r;
        int trees;
        QColor colour;
    };
    const Wood woods[] = {{{64, 30}, 20, 26, kWood},   {{84, 64}, 12, 14, kOrchard},
                          {{100, 150}, 16, 18, kWood}, {{20, 220}, 14, 12, kWood},
                          {{150, 90}, 10, 10, kWood},  {{215, 215}, 14, 12, kWood},
                          {{290, 100}, 12, 10, kWood}, {{110, 300}, 10, 8, kWood}};
    p.setPen(Qt::NoPen);
    for (const Wood& wood : woods)
        for (int t = 0; t < wood.trees; ++t) {
            const double a = rng.range(0, 2 * M_PI);
            const double d = std::sqrt(rng.next()) * wood.r;
            const QPointF at = wood.c + QPointF(std::cos(a) * d, std::sin(a) * d * 0.8);
            p.setBrush(wood.colour);
            p.drawEllipse(at, 3.2, 3.0);
        }

    // Sea and rivers.
    p.fillPath(coastline(), kSea);
    p.setPen(QPen(kWater.darker(120), 1.0 * px));
    p.setBrush(Qt::NoBrush);
    p.drawPath(coastline());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kWater, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(smoothPath(riverAsh()));
    p.setPen(QPen(kWater, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(smoothPath(riverRouge()));
    // A lake in the fens.
    p.setPen(Qt::NoPen);
    p.setBrush(kWater.lighter(115));
    p.drawEllipse(QPointF(130, 420), 16, 9);

    // Roads over everything but the towns.
    p.setBrush(Qt::NoBrush);
    for (const auto& road : roads()) {
        p.setPen(QPen(QColor(0xf4, 0xe9, 0xc8), 2.6 * std::max(px, 0.5), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.drawPath(smoothPath(road));
        p.setPen(QPen(kRoad, 1.4 * std::max(px, 0.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(smoothPath(road));
    }

    // Sector borders, dashed.
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen border(QColor(0x5a, 0x4a, 0x3a), 1.0 * px, Qt::DashLine);
    p.setPen(border);
    p.drawLine(QPointF(157, 0), QPointF(157, 243));
    p.drawLine(QPointF(0, 243), QPointF(314, 243));

    // Places: symbols at a fixed pixel size, so they stay readable when a sector is zoomed.
    p.setRenderHint(QPainter::Antialiasing, true);
    const double s = 2.2 * px * (overview ? 1.0 : 1.6);
    for (const Place& place : places()) {
        const QPointF c = place.at;
        p.setPen(QPen(kInk, 0.8 * px));
        switch (place.kind) {
        case Place::Town:
            p.setBrush(kTown);
            p.drawRect(QRectF(c.x() - 1.6 * s, c.y() - 1.2 * s, 3.2 * s, 2.4 * s));
            break;
        case Place::Village:
        case Place::Station:
            p.setBrush(place.kind == Place::Station ? QColor(0x3f, 0x5f, 0x8f) : kTown);
            p.drawEllipse(c, 1.1 * s, 1.1 * s);
            break;
        case Place::Bridge:
        case Place::Sluice:
            p.setPen(QPen(kInk, 1.4 * px));
            p.drawLine(c + QPointF(-1.6 * s, -0.8 * s), c + QPointF(1.6 * s, -0.8 * s));
            p.drawLine(c + QPointF(-1.6 * s, 0.8 * s), c + QPointF(1.6 * s, 0.8 * s));
            break;
        case Place::Mill:
        case Place::Windmill:
            p.setPen(QPen(kInk, 1.2 * px));
            p.drawLine(c + QPointF(-1.4 * s, -1.4 * s), c + QPointF(1.4 * s, 1.4 * s));
            p.drawLine(c + QPointF(-1.4 * s, 1.4 * s), c + QPointF(1.4 * s, -1.4 * s));
            break;
        case Place::Tower:
            p.setBrush(kInk);
            p.drawPolygon(QPolygonF(
                {c + QPointF(0, -1.8 * s), c + QPointF(1.1 * s, 1.2 * s), c + QPointF(-1.1 * s, 1.2 * s)}));
            break;
        case Place::Chateau:
            p.setBrush(QColor(0x8a, 0x2b, 0x3a));
            p.drawRect(QRectF(c.x() - 1.5 * s, c.y() - 1.5 * s, 3 * s, 3 * s));
            break;
        case Place::Chapel:
            p.setPen(QPen(kInk, 1.3 * px));
            p.drawLine(c + QPointF(0, -1.8 * s), c + QPointF(0, 1.8 * s));
            p.drawLine(c + QPointF(-1.1 * s, -0.6 * s), c + QPointF(1.1 * s, -0.6 * s));
            break;
        case Place::Quarry:
            p.setBrush(QColor(0x9a, 0x94, 0x8a));
            p.drawEllipse(c, 1.8 * s, 1.3 * s);
            break;
        }
    }
}

// Lettering is drawn untransformed, at whole pixels, so it stays sharp at every scale.
void drawLabels(QPainter& p, const QTransform& toPixels, bool overview, double pixelSize) {
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(pixelSize));
    p.setFont(font);
    if (overview) {
        QFont title = font;
        title.setBold(true);
        title.setLetterSpacing(QFont::AbsoluteSpacing, 1);
        p.setFont(title);
        p.setPen(QColor(0x4a, 0x3a, 0x2a));
        for (int i = 0; i < 3; ++i) {
            const QRectF box = toPixels.mapRect(sectorRects[i]);
            p.drawText(QRectF(box.left(), box.bottom() - 14, box.width(), 12), Qt::AlignCenter,
                       QString::fromUtf8(sectorNames[i]));
        }
        return;
    }
    for (const Place& place : places()) {
        const QPointF at = toPixels.map(place.at);
        const QString name = QString::fromUtf8(place.name);
        const QRectF box(at.x() - 60, at.y() + 6, 120, pixelSize + 3);
        p.setPen(QColor(0xf6, 0xf0, 0xd8));
        for (const QPointF& d : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
            p.drawText(box.translated(d), Qt::AlignHCenter | Qt::AlignTop, name);
        p.setPen(kInk);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, name);
    }
}

void drawFrame(QPainter& p, int width, int height) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1));
    p.drawRect(0, 0, width - 1, height - 1);
    p.setPen(QPen(QColor(0x8a, 0x7a, 0x5a), 1));
    p.drawRect(2, 2, width - 5, height - 5);
}

QImage overviewMap() {
    QImage image(kMapWidth, kMapHeight, QImage::Format_RGB32);
    QPainter p(&image);
    drawWorld(p, 1.0, true);
    drawLabels(p, QTransform(), true, 9);
    drawFrame(p, kMapWidth, kMapHeight);
    return image;
}

// A sector's map: its rectangle of the overview, enlarged onto the whole map (a 4-pixel margin),
// as the demo files OvData1 to OvData3 expect.
QImage sectorMap(int sector) {
    QImage image(kMapWidth, kMapHeight, QImage::Format_RGB32);
    QPainter p(&image);
    const QRectF from = sectorRects[sector];
    const QRectF to(4, 4, 307, 484);
    QTransform transform;
    transform.translate(to.left(), to.top());
    transform.scale(to.width() / from.width(), to.height() / from.height());
    transform.translate(-from.left(), -from.top());
    p.fillRect(image.rect(), kLand);
    p.save();
    p.setTransform(transform);
    drawWorld(p, transform.m11(), false);
    p.restore();
    drawLabels(p, transform, false, 10);
    drawFrame(p, kMapWidth, kMapHeight);
    p.setPen(QColor(0x4a, 0x3a, 0x2a));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(12);
    title.setBold(true);
    p.setFont(title);
    p.fillRect(QRect(8, 466, 170, 18), QColor(0xf6, 0xf0, 0xd8));
    p.drawText(QRect(12, 466, 166, 18), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromUtf8(sectorNames[sector]));
    return image;
}

// Picture 1017: a small title card with the whole land in miniature, 200 x 300.
QImage titleCard() {
    QImage image(200, 300, QImage::Format_RGB32);
    image.fill(QColor(0xf3, 0xe8, 0xc8));
    QPainter p(&image);
    const QImage map = overviewMap().scaled(150, 234, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(25, 46, map);
    p.setPen(kInk);
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(20);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 8, 200, 24), Qt::AlignCenter, QStringLiteral("Brenmoor"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(10);
    p.setFont(small);
    p.drawText(QRect(0, 30, 200, 14), Qt::AlignCenter, QStringLiteral("demo maps for Mapquill"));
    p.drawText(QRect(0, 282, 200, 14), Qt::AlignCenter, QStringLiteral("invented land, not the game's"));
    drawFrame(p, 200, 300);
    return image;
}

// Picture 1018: the background pattern, a small tile.
QImage patternTile() {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(0x5a, 0x4e, 0x3a));
    QPainter p(&image);
    p.setPen(QColor(0x6b, 0x5e, 0x46));
    for (int i = -64; i < 64; i += 8)
        p.drawLine(i, 0, i + 64, 64);
    p.setPen(QColor(0x4c, 0x42, 0x31));
    for (int i = 0; i < 128; i += 8)
        p.drawLine(i, 0, i - 64, 64);
    return image;
}

demo::Rgb toRgb(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    demo::Rgb out;
    out.width = rgb.width();
    out.height = rgb.height();
    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 3u);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) * 3u,
                    rgb.constScanLine(y), static_cast<std::size_t>(out.width) * 3u);
    return out;
}

bool write(const QString& path, const void* data, std::size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(static_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%zu bytes)\n", qPrintable(path), size);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder + QStringLiteral("/mac"));

    // IDs 1013 .. 1018: overview, the three sectors, the title card, the pattern.
    const std::vector<QImage> pictures = {overviewMap(), sectorMap(0), sectorMap(1),
                                          sectorMap(2),  titleCard(),  patternTile()};
    const char* const names[] = {"over", "arnh", "nijm", "eind", "about", "ppat"};

    std::vector<demo::Rgb> container(19); // slots 0 .. 12 stay empty, as only 13 .. 18 are maps
    std::vector<demo::Resource> resources;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const demo::Rgb rgb = toRgb(pictures[i]);
        container[13 + i] = rgb;
        resources.push_back(
            {0x50494354u, static_cast<std::int16_t>(1013 + i), names[i], demo::encodePict(rgb)});
    }
    const demo::Bytes brm = demo::buildBrmContainer(container);
    const demo::Bytes fork = demo::buildResourceFork(resources);
    const demo::Bytes macBinary = demo::wrapMacBinary3("UI", "rsrc", "RSED", {}, fork);
    const demo::Bytes appleDouble = demo::wrapAppleDouble("rsrc", "RSED", fork);
    const std::string binHex = demo::wrapBinHex("UI", "rsrc", "RSED", {}, fork);

    bool ok = write(folder + QStringLiteral("/Intrface.brm"), brm.data(), brm.size());
    ok = write(folder + QStringLiteral("/mac/UI"), "", 0) && ok;
    ok = write(folder + QStringLiteral("/mac/._UI"), appleDouble.data(), appleDouble.size()) && ok;
    ok = write(folder + QStringLiteral("/mac/UI.bin"), macBinary.data(), macBinary.size()) && ok;
    ok = write(folder + QStringLiteral("/mac/UI.hqx"), binHex.data(), binHex.size()) && ok;
    ok = pictures[0].save(folder + QStringLiteral("/OverviewMap.png")) && ok;
    ok = pictures[4].save(folder + QStringLiteral("/SmallMap.png")) && ok;
    return ok ? 0 : 1;
}
