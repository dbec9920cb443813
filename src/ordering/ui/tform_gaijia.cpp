#include "ordering/ui/tform_gaijia.h"

#include "ordering/orders.h"
#include "staff/sign_in.h"

#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "board/ui/tform_main.h"
#include "ordering/diancan.h"
#include "ordering/price_change.h"
#include "ordering/ui/tform_diancan.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>

#include <cmath>

namespace {

const QColor RuleColour(204, 204, 204);

QLabel *text_at(QWidget *parent, const QString &text, int left, int top, int width)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(left, top, width, 20);
    return l;
}

// A dish name or method list longer than its column ends in "…" and shows whole
// when pointed at: cut off plainly, long names that differ only at the end look alike.
QLabel *cut_text_at(QWidget *parent, const QString &text, int left, int top, int width)
{
    QLabel *l = text_at(parent, text, left, top, width);
    const QString cut = l->fontMetrics().elidedText(text, Qt::ElideRight, width);
    if (cut != text) {
        l->setText(cut);
        l->setToolTip(text);
    }
    return l;
}

QLineEdit *
edit_at(QWidget *parent, const QString &name, const QString &text, int left, int top, int width)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setGeometry(left, top, width, 24);
    return e;
}

void rule_at(QWidget *parent, int top, int width)
{
    auto *line = new QFrame(parent);
    line->setGeometry(0, top, width, 1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, RuleColour);
    line->setPalette(p);
}

// What the rows of a listing were made from.
QString listing_key(const QVector<PriceLine> &lines)
{
    QStringList out;
    for (const PriceLine &l : lines)
        out << QStringList{l.id, l.oneprice, l.quantity, l.remark, l.rootid}.join(QChar('|'));
    return out.join(QChar('\n'));
}

} // namespace

TForm_gaijia::TForm_gaijia(Forms &forms, QWidget *parent)
    : DeskDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("改价"));
    setObjectName(QStringLiteral("TForm_gaijia"));
    resize(800, 600);
    m_save = new QPushButton(QStringLiteral("批量保存"), this);
    m_save->setObjectName(QStringLiteral("btn_save"));
    m_save->setCursor(Qt::PointingHandCursor);
    // Saving takes a deliberate click, not an Enter in one of the edits.
    m_save->setAutoDefault(false);
    connect(m_save, &QPushButton::clicked, this, &TForm_gaijia::save_click);
    ChangeNotifier &n = ctx().notifier();
    connect(&n, &ChangeNotifier::desk_changed, this, &TForm_gaijia::follow_desk_change);
    connect(&n,
            &ChangeNotifier::lines_changed,
            this,
            [this](const QString &order, const QString &desk) {
                follow_desk_change(!order.isEmpty() && order == m_order_id ? m_desk_id : desk);
            });
}

void TForm_gaijia::open_with(const QString &desk_id, const QString &order_id, const QString &ids)
{
    hold(desk_id, order_id);
    m_ids = ids;
    if (m_forms.main) {
        const int h = int(std::ceil(m_forms.main->height() * 0.9)) - 80;
        resize(800, qMax(200, h));
    }
    if (isVisible())
        list_lines();
    open_centred();
}

void TForm_gaijia::showEvent(QShowEvent *event)
{
    DeskDialog::showEvent(event);
    if (!event->spontaneous())
        list_lines();
}

void TForm_gaijia::list_lines()
{
    m_rows.clear();
    delete m_group;
    const int groupHeight = qMax(60, height() - 90);
    m_group = new QFrame(this);
    m_group->setObjectName(QStringLiteral("group_lines"));
    m_group->setGeometry(5, 10, 775, groupHeight);
    m_save->setGeometry(5, 10 + groupHeight + 8, 120, 36);

    m_listed.clear();
    guarded(ctx(), [&] {
        const QVector<PriceLine> lines = read_price_lines(ctx(), m_ids);
        m_listed = listing_key(lines);
        if (lines.isEmpty())
            return;
        m_order_id = lines.first().rootid;

        QFont bold = font();
        bold.setBold(true);
        const struct
        {
            const char *text;
            int left;
        } titles[] = {{"序号", 10},
                      {"菜品名称", 50},
                      {"做法", 250},
                      {"单价", 350},
                      {"数量", 500},
                      {"小计", 570},
                      {"备注", 670}};
        for (const auto &t : titles)
            text_at(m_group, QString::fromUtf8(t.text), t.left, 6, 100)->setFont(bold);
        rule_at(m_group, 30, 775);

        // The titles stay put; the rows scroll when there are more than fit.
        auto *scroll = new QScrollArea(m_group);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setGeometry(0, 31, 775, groupHeight - 31);
        const int rowsHeight = 30 * int(lines.size()) + 10;
        const int rowsWidth = rowsHeight > scroll->height()
                                  ? 775 - scroll->verticalScrollBar()->sizeHint().width()
                                  : 775;
        auto *rows = new QWidget;
        rows->resize(rowsWidth, rowsHeight);
        for (int n = 0; n < lines.size(); ++n) {
            const PriceLine &l = lines[n];
            const int top = 4 + 30 * n;
            text_at(rows, line_number(n + 1), 10, top + 2, 36);
            cut_text_at(rows, l.title, 50, top + 2, 195);
            cut_text_at(rows, l.zfidstr, 250, top + 2, 95);
            Row row;
            row.price = edit_at(rows, QStringLiteral("edit_1_") + l.id, l.oneprice, 350, top, 100);
            row.quantity
                = edit_at(rows, QStringLiteral("edit_2_") + l.id, l.quantity, 500, top, 50);
            row.subtotal = text_at(rows, l.subtotal, 570, top + 2, 95);
            row.subtotal->setObjectName(QStringLiteral("static_5_") + l.id);
            row.remark = edit_at(rows,
                                 QStringLiteral("edit_3_") + l.id,
                                 l.remark,
                                 670,
                                 top,
                                 qMin(100, rowsWidth - 672));
            rule_at(rows, top + 28, rowsWidth);
            for (QLineEdit *e : {row.price, row.quantity, row.remark})
                connect(e, &QLineEdit::textChanged, this, &TForm_gaijia::recompute_subtotals);
            m_rows.insert(l.id, row);
        }
        scroll->setWidget(rows);
    });
    // Shown once filled, so every control in it shows with it.
    m_group->show();
}

void TForm_gaijia::follow_desk_change(const QString &desk_id)
{
    if (!isVisible() || desk_id.isEmpty())
        return;
    guarded(ctx(), [&] {
        if (desk_id != m_desk_id
            && desk_id != get_order_fields(ctx(), m_order_id, QStringLiteral("deskid")).value(0))
            return;
        if (listing_key(read_price_lines(ctx(), m_ids)) != m_listed)
            list_lines();
    });
}

void TForm_gaijia::recompute_subtotals()
{
    for (const Row &row : std::as_const(m_rows))
        row.subtotal->setText(price_subtotal(row.price->text(), row.quantity->text()));
}

void TForm_gaijia::save_click()
{
    QVector<PriceEdit> edits;
    for (const QString &id : split_line_ids(m_ids)) {
        const auto it = m_rows.constFind(id);
        if (it == m_rows.constEnd())
            continue; // a line deleted since the list was made
        edits.append({id, it->price->text(), it->quantity->text(), it->remark->text()});
    }
    if (edits.isEmpty())
        return;
    // Nothing is saved while one row holds something that is not an amount.
    if (const PriceEditRefusal refused = refused_price_edit(edits); !refused.id.isEmpty()) {
        const Row row = m_rows.value(refused.id);
        QLineEdit *field = refused.price ? row.price : row.quantity;
        field->setFocus();
        field->selectAll();
        toast(refused.text);
        return;
    }
    guarded(ctx(), [&] {
        if (save_price_changes(ctx(), m_order_id, edits).isEmpty()) {
            // Paid meanwhile: the rows show the lines as they stay.
            list_lines();
            toast(signed_in(ctx()) ? LinesSettledText : SignInFirstText);
            return;
        }
        // The order's own table (after a transfer not the one opened with) showed the
        // new total through the notifier.
        list_lines();
        toast(PriceSavedText);
    });
}
