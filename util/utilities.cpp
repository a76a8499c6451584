#include "util/utilities.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QRandomGenerator>
#include <QShortcut>
#include <QTextStream>
#include <QTime>
#include <QUrl>
#include <QWidget>

#include <cmath>
#include <limits>

namespace {

// The relative luminance of an sRGB colour composed over white, from 0
// (black) to 1 (white).
double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    const double alpha = rgb.alphaF();
    const auto linear = [alpha](int channel) {
        return linearFromSrgb((channel / 255.0) * alpha + (1.0 - alpha));
    };
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

// QRandomGenerator::global() cannot be seeded, so randomInt() has a generator
// of its own. It starts from a fixed seed, like the C library's rand().
QRandomGenerator &randomGenerator()
{
    static QRandomGenerator generator;
    return generator;
}

} // namespace

QString readTextFile(const QString &path)
{
    // Checked first only to spare the console QFile's warning about it.
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    return stream.readAll();
}

QShortcut *makeShortcut(const QKeySequence &key, QWidget *parent, QObject *receiver,
                        const char *member, Qt::ShortcutContext context)
{
    auto *shortcut = new QShortcut(key, parent);
    shortcut->setContext(context);
    if (receiver && member)
        QObject::connect(shortcut, SIGNAL(activated()), receiver, member);
    return shortcut;
}

QShortcut *makeShortcuts(const QString &keys, QWidget *parent, QObject *receiver,
                         const char *member, Qt::ShortcutContext context)
{
    QShortcut *last = nullptr;
    // The texts are written in the source, hence the portable (English) key
    // names whatever the platform.
    const QStringList parts = keys.split(QLatin1Char('|'));
    for (const QString &part : parts)
        last = makeShortcut(QKeySequence(part, QKeySequence::PortableText), parent, receiver,
                            member, context);
    return last;
}

QString escapeHtml(const QString &text)
{
    // The ampersand goes first so that the entities inserted by the later
    // passes are not escaped once more.
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    escaped.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return escaped;
}

QString colorToHex(const QColor &color)
{
    const QLatin1Char zero('0');
    return QStringLiteral("#%1%2%3")
        .arg(color.red(), 2, 16, zero)
        .arg(color.green(), 2, 16, zero)
        .arg(color.blue(), 2, 16, zero);
}

QString joinList(const QStringList &items)
{
    switch (items.size()) {
    case 0:
        return QString();
    case 1:
        return items.first();
    case 2:
        return items.first() + QLatin1Char(' ') +
               QCoreApplication::translate("QApplication", "and",
                                           "Joining the two items in a pair.") +
               QLatin1Char(' ') + items.last();
    default:
        return items.mid(0, items.size() - 1).join(QLatin1String(", ")) +
               QCoreApplication::translate("QApplication", ", and ",
                                           "Before the last item in a multi-item list.") +
               items.last();
    }
}

int floorToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double floored = std::floor(value);
    if (floored <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (floored >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(floored);
}

QColor blendColors(const QColor &under, const QColor &over, bool opaque)
{
    // With t = overAlpha / 255 and u = underAlpha / 255 a channel is
    // t * over + u * under * (1 - t), truncated. Working in integers over the
    // common denominator 255 * 255 keeps results that are whole numbers exact;
    // in floating point they can land a hair below and truncate one too low
    // (an opaque colour under a translucent one would come out with alpha 254).
    const int t = over.alpha();
    const int u = under.alpha();
    const auto channel = [t, u](int top, int bottom) {
        return (255 * t * top + u * bottom * (255 - t)) / (255 * 255);
    };
    const int alpha = opaque ? 255 : (u * (255 - t) + 255 * t) / 255;
    return QColor(channel(over.red(), under.red()), channel(over.green(), under.green()),
                  channel(over.blue(), under.blue()), alpha);
}

QColor averageColor(const QImage &image, const QRect &area)
{
    const QRect inside = area.intersected(image.rect());
    // Sums of at most a few thousand 16-bit products fit 64 bits with room
    // to spare; integers keep the rounding exact.
    qint64 count = 0, alpha = 0, red = 0, green = 0, blue = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int a = qAlpha(pixel);
            ++count;
            alpha += a;
            red += qRed(pixel) * a;
            green += qGreen(pixel) * a;
            blue += qBlue(pixel) * a;
        }
    }
    if (alpha == 0)
        return QColor(Qt::transparent);
    // round(sum / n) for non-negative integers, halves up.
    const auto rounded = [](qint64 sum, qint64 n) {
        return int((2 * sum + n) / (2 * n));
    };
    return QColor(rounded(red, alpha), rounded(green, alpha), rounded(blue, alpha),
                  rounded(alpha, count));
}

double linearFromSrgb(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

int randomInt(int max)
{
    if (max < 0)
        return 0;
    // quint32 so that max + 1 cannot overflow for INT_MAX.
    return int(randomGenerator().bounded(quint32(max) + 1));
}

void seedRandom()
{
    const QTime now = QTime::currentTime();
    randomGenerator().seed(quint32(now.msec() + 1000 * now.second()));
}

void openUrl(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}
