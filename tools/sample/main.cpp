// lumeno-sample PATH [WIDTHxHEIGHT] [--transparent] [--display-p3]
//
// Paints a colourful landscape with smooth gradients, shapes, fine detail, grain and a
// strip of flat colour patches, and writes it to PATH in the format given by the file
// suffix (JPEG at quality 90). With --transparent the top-left corner holds a
// transparent region with a soft edge (for formats with alpha). With --display-p3
// the file carries a Display P3 colour profile (in formats that hold one). The
// picture depends only on its size, so repeated runs give identical files.
#include <QColorSpace>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// A small seeded generator (SplitMix64) so that the output does not depend on the
// standard library's distributions.
class Random
{
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [lo, hi).
    double uniform(double lo = 0.0, double hi = 1.0)
    {
        return lo + (hi - lo) * double(next() >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    std::uint64_t state;
};

// Integer hash of a pixel position, used for grain.
std::uint32_t hash2(std::uint32_t x, std::uint32_t y)
{
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// A smooth random profile of `count` samples in [0, 1]: several octaves of value noise.
std::vector<double> ridgeProfile(Random &random, int count, int octaves)
{
    std::vector<double> profile(std::size_t(count), 0.0);
    double amplitude = 1.0, total = 0.0;
    int knots = 3;
    for (int octave = 0; octave < octaves; ++octave) {
        std::vector<double> values(std::size_t(knots + 1));
        for (double &value : values)
            value = random.uniform();
        for (int i = 0; i < count; ++i) {
            const double t = double(i) / (count - 1) * knots;
            const int k = std::min(int(t), knots - 1);
            const double f = t - k;
            const double s = f * f * (3 - 2 * f);
            profile[std::size_t(i)] +=
                amplitude * (values[std::size_t(k)] * (1 - s) + values[std::size_t(k + 1)] * s);
        }
        total += amplitude;
        amplitude *= 0.5;
        knots *= 2;
    }
    for (double &value : profile)
        value /= total;
    return profile;
}

void paintSky(QPainter &p, int w, int h)
{
    QLinearGradient sky(0, 0, 0, h * 0.62);
    sky.setColorAt(0.0, QColor(22, 42, 110));
    sky.setColorAt(0.45, QColor(92, 96, 190));
    sky.setColorAt(0.75, QColor(236, 130, 140));
    sky.setColorAt(1.0, QColor(255, 200, 130));
    p.fillRect(QRectF(0, 0, w, h), sky);

    const QPointF sun(w * 0.70, h * 0.36);
    const double unit = std::min(w, h);
    QRadialGradient glow(sun, unit * 0.45);
    glow.setColorAt(0.0, QColor(255, 245, 210, 230));
    glow.setColorAt(0.12, QColor(255, 220, 150, 200));
    glow.setColorAt(1.0, QColor(255, 160, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sun, unit * 0.45, unit * 0.45);
    p.setBrush(QColor(255, 250, 232));
    p.drawEllipse(sun, unit * 0.055, unit * 0.055);
}

void paintBokeh(QPainter &p, Random &random, int w, int h)
{
    const double unit = std::min(w, h);
    for (int i = 0; i < 24; ++i) {
        const QPointF centre(random.uniform(0, w), random.uniform(0, h * 0.5));
        const double r = unit * random.uniform(0.008, 0.045);
        const QColor colours[] = {QColor(255, 210, 240), QColor(200, 230, 255),
                                  QColor(255, 240, 200)};
        QColor c = colours[random.next() % 3];
        c.setAlpha(int(random.uniform(20, 55)));
        QRadialGradient g(centre, r);
        g.setColorAt(0.0, c);
        g.setColorAt(0.8, c);
        c.setAlpha(0);
        g.setColorAt(1.0, c);
        p.setBrush(g);
        p.drawEllipse(centre, r, r);
    }
}

void paintRidges(QPainter &p, Random &random, int w, int h)
{
    struct Layer
    {
        double base, height;
        QColor top, bottom;
        int octaves;
    };
    const Layer layers[] = {
        {0.50, 0.16, QColor(150, 110, 180), QColor(190, 140, 170), 6},
        {0.58, 0.14, QColor(96, 80, 150), QColor(130, 100, 150), 7},
        {0.66, 0.12, QColor(40, 90, 120), QColor(60, 120, 120), 7},
        {0.74, 0.10, QColor(30, 100, 70), QColor(70, 140, 60), 8},
    };
    const int samples = std::max(64, w / 3);
    for (const Layer &layer : layers) {
        const std::vector<double> profile = ridgeProfile(random, samples, layer.octaves);
        QPainterPath path;
        path.moveTo(0, h);
        for (int i = 0; i < samples; ++i)
            path.lineTo(double(i) * w / (samples - 1),
                        h * (layer.base - layer.height * profile[std::size_t(i)]));
        path.lineTo(w, h);
        path.closeSubpath();
        QLinearGradient g(0, h * (layer.base - layer.height), 0, h);
        g.setColorAt(0.0, layer.top);
        g.setColorAt(1.0, layer.bottom);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(path);
    }
}

void paintMeadow(QPainter &p, Random &random, int w, int h)
{
    QLinearGradient ground(0, h * 0.78, 0, h);
    ground.setColorAt(0.0, QColor(70, 140, 50));
    ground.setColorAt(1.0, QColor(30, 80, 30));
    QPainterPath field;
    field.moveTo(0, h * 0.84);
    field.cubicTo(w * 0.3, h * 0.76, w * 0.6, h * 0.86, w, h * 0.80);
    field.lineTo(w, h);
    field.lineTo(0, h);
    field.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawPath(field);

    // Grass blades and flowers: the fine detail.
    const double unit = std::min(w, h);
    const int blades = std::max(500, int(double(w) * h / 900));
    for (int i = 0; i < blades; ++i) {
        const double x = random.uniform(-10, w + 10);
        const double y = random.uniform(h * 0.78, h * 1.02);
        const double depth = (y - h * 0.78) / (h * 0.24);
        const double length = unit * (0.012 + 0.04 * depth) * random.uniform(0.6, 1.2);
        const double lean = random.uniform(-0.5, 0.5) * length;
        const QColor c = QColor::fromHsvF(random.uniform(0.22, 0.33), random.uniform(0.5, 0.9),
                                          random.uniform(0.3, 0.5 + 0.4 * (1 - depth)));
        p.setPen(
            QPen(c, std::max(0.6, unit * 0.0015 * (0.5 + depth)), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, y), QPointF(x + lean, y - length));
    }
    const int flowers = blades / 40;
    for (int i = 0; i < flowers; ++i) {
        const double y = random.uniform(h * 0.82, h);
        const double x = random.uniform(0, w);
        const double r = unit * 0.0035 * (0.5 + 2 * (y - h * 0.8) / (h * 0.2));
        const QColor c = QColor::fromHsvF(random.uniform() < 0.5 ? random.uniform(0.0, 0.1)
                                                                 : random.uniform(0.75, 0.9),
                                          0.7, 1.0);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(x, y), r, r);
        p.setBrush(QColor(255, 230, 90));
        p.drawEllipse(QPointF(x, y), r * 0.35, r * 0.35);
    }
}

void paintBirds(QPainter &p, Random &random, int w, int h)
{
    const double unit = std::min(w, h);
    p.setPen(QPen(QColor(30, 30, 60), std::max(1.0, unit * 0.002), Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
        const QPointF c(w * random.uniform(0.15, 0.5), h * random.uniform(0.12, 0.3));
        const double s = unit * random.uniform(0.008, 0.016);
        QPainterPath bird;
        bird.moveTo(c + QPointF(-s, -s * 0.4));
        bird.quadTo(c + QPointF(-s * 0.4, -s * 0.7), c);
        bird.quadTo(c + QPointF(s * 0.4, -s * 0.7), c + QPointF(s, -s * 0.4));
        p.drawPath(bird);
    }
}

// A striped hot-air balloon.
void paintBalloon(QPainter &p, int w, int h)
{
    const double unit = std::min(w, h);
    const QPointF centre(w * 0.24, h * 0.30);
    const double r = unit * 0.07;
    QPainterPath envelope;
    envelope.moveTo(centre + QPointF(0, r * 1.45));
    envelope.cubicTo(centre + QPointF(-r * 0.6, r * 1.0), centre + QPointF(-r * 1.05, r * 0.4),
                     centre + QPointF(-r, 0));
    envelope.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 180, -180);
    envelope.cubicTo(centre + QPointF(r * 1.05, r * 0.4), centre + QPointF(r * 0.6, r * 1.0),
                     centre + QPointF(0, r * 1.45));
    const QColor stripes[] = {QColor(230, 60, 60), QColor(250, 200, 40), QColor(40, 150, 220),
                              QColor(250, 250, 245)};
    p.save();
    p.setClipPath(envelope);
    p.setPen(Qt::NoPen);
    const int count = 8;
    for (int i = 0; i < count; ++i) {
        p.setBrush(stripes[i % 4]);
        p.drawRect(
            QRectF(centre.x() - r + 2 * r * i / count, centre.y() - r, 2 * r / count + 1, 2.5 * r));
    }
    QRadialGradient shade(centre + QPointF(-r * 0.4, -r * 0.4), r * 1.8);
    shade.setColorAt(0.0, QColor(255, 255, 255, 60));
    shade.setColorAt(1.0, QColor(0, 0, 40, 110));
    p.setBrush(shade);
    p.drawPath(envelope);
    p.restore();
    p.setPen(QPen(QColor(60, 40, 30), std::max(1.0, unit * 0.0012)));
    const QPointF basket = centre + QPointF(0, r * 1.85);
    p.drawLine(centre + QPointF(-r * 0.18, r * 1.38), basket + QPointF(-r * 0.12, 0));
    p.drawLine(centre + QPointF(r * 0.18, r * 1.38), basket + QPointF(r * 0.12, 0));
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(basket.x() - r * 0.14, basket.y(), r * 0.28, r * 0.22));
}

// Adds film grain to every pixel outside `keep`.
void addGrain(QImage &image, const QRect &keep)
{
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (keep.contains(x, y))
                continue;
            const std::uint32_t n = hash2(std::uint32_t(x), std::uint32_t(y));
            const int d = int(n % 15) - 7;
            const int dr = d + int((n >> 8) % 5) - 2;
            const int db = d + int((n >> 16) % 5) - 2;
            const QRgb c = line[x];
            line[x] = qRgba(qBound(0, qRed(c) + dr, 255), qBound(0, qGreen(c) + d, 255),
                            qBound(0, qBlue(c) + db, 255), qAlpha(c));
        }
    }
}

// A strip of flat colour patches, handy for picking exact colours.
QRect paintPatches(QPainter &p, int w, int h)
{
    const QColor colours[] = {
        QColor(255, 0, 0),   QColor(255, 128, 0),   QColor(255, 255, 0),   QColor(0, 200, 0),
        QColor(0, 160, 255), QColor(0, 0, 255),     QColor(160, 0, 255),   QColor(255, 0, 160),
        QColor(0, 0, 0),     QColor(128, 128, 128), QColor(255, 255, 255), QColor(0, 84, 164),
    };
    const int size = std::max(4, std::min(w, h) / 40);
    const int gap = std::max(1, size / 6);
    const int count = int(sizeof colours / sizeof colours[0]);
    const int stripWidth = count * size + (count + 1) * gap;
    const QRect strip(w - stripWidth - size, h - 2 * gap - size - size, stripWidth, size + 2 * gap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(strip, QColor(255, 255, 255));
    for (int i = 0; i < count; ++i)
        p.fillRect(QRect(strip.x() + gap + i * (size + gap), strip.y() + gap, size, size),
                   colours[i]);
    p.setRenderHint(QPainter::Antialiasing, true);
    return strip;
}

// Cuts a transparent region with a soft edge into the top-left corner.
void cutTransparentRegion(QImage &image)
{
    const double unit = std::min(image.width(), image.height());
    const double cx = unit * 0.18, cy = unit * 0.18, inner = unit * 0.10, outer = unit * 0.16;
    const int extent = int(std::ceil(cx + outer));
    for (int y = 0; y < std::min(extent, image.height()); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < std::min(extent, image.width()); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d >= outer)
                continue;
            const double a = d <= inner ? 0.0 : (d - inner) / (outer - inner);
            const QRgb c = line[x];
            line[x] = qRgba(qRed(c), qGreen(c), qBlue(c), int(std::lround(qAlpha(c) * a)));
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QString path;
    int width = 1200, height = 800;
    bool transparent = false;
    bool displayP3 = false;
    const QRegularExpression sizePattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    const QStringList arguments = application.arguments().mid(1);
    for (const QString &argument : arguments) {
        const QRegularExpressionMatch match = sizePattern.match(argument);
        if (argument == QLatin1String("--transparent")) {
            transparent = true;
        } else if (argument == QLatin1String("--display-p3")) {
            displayP3 = true;
        } else if (match.hasMatch()) {
            width = match.captured(1).toInt();
            height = match.captured(2).toInt();
        } else if (path.isEmpty() && !argument.startsWith(QLatin1Char('-'))) {
            path = argument;
        } else {
            path.clear();
            break;
        }
    }
    if (path.isEmpty() || width < 16 || height < 16 || width > 30000 || height > 30000) {
        std::fprintf(stderr, "usage: lumeno-sample PATH [WIDTHxHEIGHT] [--transparent] "
                             "[--display-p3]\n"
                             "  default size 1200x800; the format follows the suffix of PATH\n");
        return 2;
    }

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    Random random(0x4C756D656E6FULL);
    QRect patches;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        paintSky(p, width, height);
        paintBokeh(p, random, width, height);
        paintBirds(p, random, width, height);
        paintBalloon(p, width, height);
        paintRidges(p, random, width, height);
        paintMeadow(p, random, width, height);
        patches = paintPatches(p, width, height);
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    addGrain(image, patches);
    if (transparent)
        cutTransparentRegion(image);

    QImageWriter writer(path);
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(90);
    if (!transparent)
        image = image.convertToFormat(QImage::Format_RGB32);
    if (displayP3)
        image.setColorSpace(QColorSpace::DisplayP3);
    if (!writer.write(image)) {
        std::fprintf(stderr, "lumeno-sample: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
