#ifndef LUMENO_FLOWLAYOUT_H
#define LUMENO_FLOWLAYOUT_H

#include <QLayout>
#include <QList>
#include <QStyle>

// Lays its items out left to right and starts a new row when the next item
// would not fit, like words in a paragraph. Every item gets exactly its size
// hint; rows are as high as their tallest item and items sit at the row's top.
// Hidden widgets are skipped.
// Because the layout has height-for-width, its parent gives it as many rows as
// the current width needs.
//
// A negative gap means the default: the parent widget's style's layout
// spacing, or the spacing of the parent layout. When that gives nothing
// either, the style of the item's widget (or the application's style for an
// item without widget) is asked for the spacing between two push buttons, and
// a negative answer there counts as 0.
//
// The layout owns its layout items and deletes them with itself; the widgets
// they wrap belong to their parent widgets as usual.
class FlowLayout : public QLayout
{
    Q_OBJECT

public:
    // All four contents margins are set to margin.
    FlowLayout(int margin, int horizontalGap, int verticalGap);
    FlowLayout(QWidget *parent, int margin, int horizontalGap, int verticalGap);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    void setGeometry(const QRect &rect) override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;

    // The configured gaps, or the default for a negative one (-1 if there is
    // no default yet, for example while the layout has no parent).
    int effectiveHorizontalGap() const;
    int effectiveVerticalGap() const;

private:
    // Places the items in rect (layout coordinates, margins included) unless
    // measureOnly, and returns the height from rect's top to the bottom of the
    // last row, bottom margin included.
    int arrangeItems(const QRect &rect, bool measureOnly) const;
    int defaultGap(QStyle::PixelMetric metric) const;

    QList<QLayoutItem *> m_items;
    int m_horizontalGap;
    int m_verticalGap;
};

#endif
