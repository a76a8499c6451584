#ifndef LUMENO_HEADERBASE_H
#define LUMENO_HEADERBASE_H

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

class QPainter;

// How a header cell gets its width; any other value gives width 0.
enum HeaderItemSizing
{
    FixedWidth = 0,    // fixedWidth, as far as room is left
    FitText = 1,       // the text's natural width, as far as room is left
    Stretch = 2,       // a weighted share of what the other cells leave
    StretchToText = 3, // a weighted share, but no more than the natural width
};

// One text cell of a header strip.
struct HeaderItem
{
    QString text;
    QString displayText; // text elided to width
    QString family;      // empty: the base font's family
    int sizing = FixedWidth;
    Qt::Alignment alignment;
    int x = -1; // -1: right after the previous visible cell
    int fixedWidth = -1;
    int width = -1;
    int naturalWidth = 0; // text width plus leadingSpace and trailingSpace
    int weight = 1;       // for Stretch and StretchToText; must be above 0
    bool bold = false;
    QColor color;
    int leadingSpace = 0;
    int trailingSpace = 0;
    bool visible = true;
    QFont font; // cached while the layout is valid
};

// The cell model, width rule and painting of a one-line header strip, apart
// from any widget. A subclass supplies the strip's size.
//
// The height follows the main window's font: heightFactor times its pixel
// size (times fontScale when fonts are scaled), at least minimumHeaderHeight.
// Cells are served left to right: FitText and FixedWidth cells take what they
// need while room is left, StretchToText cells then share the rest up to their
// natural widths, and Stretch cells share what remains in proportion to their
// weights. Each cell's text is elided at the right to its width.
//
// Fonts and natural widths are cached until an item change (addItem,
// addSpacing, setItemText, setItemColor, setScaleFonts) invalidates them.
// Setters neither lay out nor repaint: the owner lays out afterwards.
class HeaderBase
{
public:
    HeaderBase();
    virtual ~HeaderBase();

    // Returns the new item's index.
    int addItem(const QString &text, int sizing, Qt::Alignment alignment, int weight,
                const QColor &color, bool bold, int leadingSpace, int trailingSpace,
                const QString &family);
    // An empty FixedWidth cell of width pixels.
    int addSpacing(int width);

    // Setters ignore an index out of range. setItemText returns whether the
    // text changed.
    bool setItemText(int index, const QString &text);
    void setItemColor(int index, const QColor &color);
    void setItemVisible(int index, bool visible);
    void setItemGeometry(int index, int x, int fixedWidth);
    void setItemWidth(int index, int fixedWidth);

    // Both lay out at once, but keep cached fonts and natural widths.
    void setFontScale(double scale);
    void setHeightFactor(double factor);

    void setMinimumHeaderHeight(int height) { m_minimumHeaderHeight = height; }
    void setBackgroundColor(const QColor &color) { m_backgroundColor = color; }
    QColor backgroundColor() const { return m_backgroundColor; }
    void setScaleFonts(bool scale);

    int itemCount() const { return m_items.size(); }
    const HeaderItem &item(int index) const { return m_items.at(index); }
    bool isLayoutValid() const { return m_layoutValid; }

    void layoutItems();
    // Draws the visible cells from x 0 on, each height pixels high.
    void paintItems(QPainter &painter, double height);

protected:
    virtual void setHeaderHeight(double height) = 0;
    virtual double headerWidth() const = 0;
    virtual double headerHeight() const = 0;

private:
    QFont itemFont(HeaderItem &item);
    int itemNaturalWidth(HeaderItem &item);
    bool isValidIndex(int index) const { return index >= 0 && index < m_items.size(); }

    double m_heightFactor = 1.5;
    double m_fontScale = 1.0;
    int m_minimumHeaderHeight = 0;
    bool m_scaleFonts = true;
    QColor m_backgroundColor = Qt::white;
    bool m_layoutValid = false;
    QList<HeaderItem> m_items;
};

#endif
