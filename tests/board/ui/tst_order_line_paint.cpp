// The order panel's rows keep their cell texts laid out between repaints; they must
// look exactly as Qt's own one-line drawText draws them.

#include "board/ui/order_line_delegate.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTreeWidget>

namespace {

// The rows drawn with QPainter::drawText, nothing kept.
class PlainDelegate : public QStyledItemDelegate
{
public:
    explicit PlainDelegate(QAbstractItemView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {}
    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool focused
            = m_view->currentIndex().isValid() && m_view->currentIndex().row() == index.row();
        const auto c = OrderLineDelegate::colours(
            focused, index.siblingAtColumn(0).data(OrderLineDelegate::StatRole).toString());
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, c.background);
        painter->setPen(c.text);
        painter->setFont(option.font);
        const QRect textRect = r.adjusted(6, 0, 0, 0);
        painter->drawText(textRect,
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(
                              index.data().toString().trimmed(), Qt::ElideRight, textRect.width()));
        painter->setPen(QPen(Qt::red, 1));
        painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     OrderLineDelegate::RowHeight);
    }

private:
    QAbstractItemView *m_view;
};

QTreeWidget *make_list(QWidget *parent, int x)
{
    auto *list = new QTreeWidget(parent);
    list->setColumnCount(7);
    list->setHeaderLabels({"行号", "菜品名称", "做法", "单价", "数量", "金额", "状态"});
    const int widths[7] = {50, 77, 60, 50, 50, 50, 60};
    for (int i = 0; i < 7; ++i)
        list->setColumnWidth(i, widths[i]);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setGeometry(x, 0, 421, 600);
    return list;
}

void fill(QTreeWidget *list, const QList<QStringList> &rows)
{
    list->clear();
    for (const QStringList &row : rows) {
        auto *item = new QTreeWidgetItem(row.mid(0, 7));
        item->setData(0, OrderLineDelegate::StatRole, row.value(7));
        list->addTopLevelItem(item);
    }
}

QImage picture(QTreeWidget *list)
{
    return list->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestOrderLinePaint : public QObject
{
    Q_OBJECT
private slots:
    void looks_as_drawn_by_qt();
};

void TestOrderLinePaint::looks_as_drawn_by_qt()
{
    QWidget window;
    window.resize(860, 600);
    QTreeWidget *kept = make_list(&window, 0);
    auto *delegate = new OrderLineDelegate(kept);
    kept->setItemDelegate(delegate);
    QTreeWidget *plain = make_list(&window, 430);
    plain->setItemDelegate(new PlainDelegate(plain));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Short and long names (cut with an ellipsis), padded and empty cells, returned
    // lines, texts that do not fit even one character, breaks and tabs.
    const QList<QStringList> first{
        {"001", "宫保鸡丁", "加辣", "36.00", "1", "36.00", "已下单", "1"},
        {"002",
         "鱼香肉丝盖浇饭加大份特别长的名字",
         "少盐,不要香菜,多放葱",
         "128.50",
         "12",
         "1542.00",
         "已退菜",
         "8"},
        {"003", "  Coke 可乐  ", "", "3.00", "0.5", "1.50", "未下单", "0"},
        {"004", "牛肉1\n第二行", "冰\t镇", "9999.99", "100", "999999.00", "已上菜", "2"},
        {"", "W", "WWWWWWWWWWWWWW", "", " ", "-5.00", "状态很长很长很长", " 8 "},
    };
    const QList<QStringList> second{
        {"001", "宫保鸡丁", "不辣", "36.00", "2", "72.00", "已下单", "8"},
        {"002", "麻婆豆腐", "", "18.00", "1", "18.00", "已下单", "1"},
    };
    const auto same = [&](const char *what) {
        const QImage a = picture(kept);
        const QImage b = picture(plain);
        if (a != b) {
            a.save(QStringLiteral("order_lines_kept.png"));
            b.save(QStringLiteral("order_lines_plain.png"));
        }
        QVERIFY2(a == b, what);
    };

    fill(kept, first);
    fill(plain, first);
    same("first showing");
    QVERIFY(delegate->kept_layouts() > 20); // the kept layouts were used, not drawText
    same("drawn again from the kept layouts");

    // The focused row changes its colour only.
    kept->setCurrentItem(kept->topLevelItem(2));
    plain->setCurrentItem(plain->topLevelItem(2));
    same("focused row");

    fill(kept, second);
    fill(plain, second);
    same("another table's lines");

    // Another width or font lays the texts out anew.
    kept->setColumnWidth(1, 140);
    plain->setColumnWidth(1, 140);
    same("wider column");
    QFont big = kept->font();
    big.setPointSize(big.pointSize() + 5);
    kept->setFont(big);
    plain->setFont(big);
    fill(kept, first);
    fill(plain, first);
    same("larger font");
}

QTEST_MAIN(TestOrderLinePaint)
#include "tst_order_line_paint.moc"
