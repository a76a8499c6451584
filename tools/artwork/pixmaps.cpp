// The checkerboard tile and the drag-and-drop pictures.
#include "artwork.h"
#include "painting.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>

namespace art {

using namespace colors;

namespace {

// A pointer with its tip at `tip`, `height` pixels tall.
void drawPointer(QPainter &p, const QPointF &tip, qreal height, const QColor &fill,
                 const QColor &outline, qreal outlineWidth)
{
    const QPolygonF pointer = pointerPolygon(height).translated(tip);
    p.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(pointer);
}

// A round badge with a plus sign.
void drawPlusBadge(QPainter &p, const QPointF &centre, qreal radius)
{
    p.setPen(QPen(paper, radius * 0.18));
    p.setBrush(accent);
    p.drawEllipse(centre, radius, radius);
    const qreal arm = radius * 0.5;
    p.setPen(QPen(paper, radius * 0.26, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

// A picture file: a sheet with a folded corner showing a small landscape.
void drawPictureFile(QPainter &p, const QRectF &rect)
{
    const qreal fold = rect.width() * 0.26;
    QPainterPath sheet;
    sheet.moveTo(rect.topLeft());
    sheet.lineTo(rect.right() - fold, rect.top());
    sheet.lineTo(rect.right(), rect.top() + fold);
    sheet.lineTo(rect.bottomRight());
    sheet.lineTo(rect.bottomLeft());
    sheet.closeSubpath();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 22));
    p.drawPath(sheet.translated(3, 4));

    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(paper);
    p.drawPath(sheet);

    // The fold.
    QPainterPath corner;
    corner.moveTo(rect.right() - fold, rect.top());
    corner.lineTo(rect.right() - fold, rect.top() + fold);
    corner.lineTo(rect.right(), rect.top() + fold);
    p.setBrush(paperShade);
    p.drawPath(corner);

    // The picture on the sheet.
    const qreal margin = rect.width() * 0.14;
    const QRectF photo(rect.left() + margin, rect.top() + fold + margin * 0.6,
                       rect.width() - 2 * margin, rect.height() * 0.42);
    QLinearGradient sky(photo.topLeft(), photo.bottomLeft());
    sky.setColorAt(0, QColor(150, 200, 245));
    sky.setColorAt(1, QColor(220, 236, 252));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(photo, 3, 3);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(photo, 3, 3);
    p.setClipPath(clip);
    p.setBrush(warm);
    p.drawEllipse(QPointF(photo.right() - photo.width() * 0.25, photo.top() + photo.height() * 0.3),
                  photo.height() * 0.16, photo.height() * 0.16);
    p.setBrush(accentLight);
    p.drawPolygon(QPolygonF() << QPointF(photo.left() + photo.width() * 0.35, photo.bottom())
                              << QPointF(photo.left() + photo.width() * 0.7,
                                         photo.top() + photo.height() * 0.45)
                              << QPointF(photo.right() + 4, photo.bottom()));
    p.setBrush(accent);
    p.drawPolygon(QPolygonF() << QPointF(photo.left() - 4, photo.bottom())
                              << QPointF(photo.left() + photo.width() * 0.32,
                                         photo.top() + photo.height() * 0.3)
                              << QPointF(photo.left() + photo.width() * 0.75, photo.bottom()));
    p.restore();

    // Caption lines.
    p.setPen(QPen(paperShade.darker(108), 3.0, Qt::SolidLine, Qt::RoundCap));
    const qreal lineLeft = photo.left() + 1.5;
    qreal y = photo.bottom() + margin * 0.9;
    p.drawLine(QPointF(lineLeft, y), QPointF(photo.right() - 1.5, y));
    y += 9;
    p.drawLine(QPointF(lineLeft, y), QPointF(photo.right() - photo.width() * 0.3, y));
}

} // namespace

QImage checkerTile()
{
    QImage image = canvas(14, 14);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 14, 14), QColor(255, 255, 255));
    p.fillRect(QRect(0, 0, 7, 7), QColor(195, 195, 195));
    p.fillRect(QRect(7, 7, 7, 7), QColor(195, 195, 195));
    return image;
}

QImage dropTargetPicture()
{
    QImage image = canvas(450, 329);
    QPainter p;
    beginPainting(p, image);

    // Dashed frame with a faint tint inside.
    const QRectF frame(12.5, 12.5, 425, 304);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(accentPale.red(), accentPale.green(), accentPale.blue(), 90));
    p.drawRoundedRect(frame, 22, 22);
    QPen dashes(accentLight, 3.0, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
    dashes.setDashPattern({4.0, 3.0});
    p.setPen(dashes);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 22, 22);

    // A picture file being dragged in by the pointer, which carries a plus badge.
    const QRectF file(172, 48, 100, 128);
    p.save();
    p.translate(file.center());
    p.rotate(-6);
    p.translate(-file.center());
    drawPictureFile(p, file);
    p.restore();
    const QPointF tip(252, 150);
    drawPointer(p, tip, 56, paper, ink, 2.2);
    drawPlusBadge(p, tip + QPointF(44, 40), 14);

    // Caption.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(21);
    font.setWeight(QFont::DemiBold);
    font.setHintingPreference(QFont::PreferFullHinting);
    const QString text = QStringLiteral("Drag and drop your image here");
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QPointF(qRound((450 - width) / 2.0), 262), text);
    return image;
}

} // namespace art
