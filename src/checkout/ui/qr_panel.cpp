#include "checkout/ui/qr_panel.h"

#include "app/ui/forms.h"
#include "checkout/qr_code.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

QImage DrawBar(const QString &link, int side)
{
    const QrModules m = qr_modules(link);
    if (m.size == 0)
        return QImage();
    QImage small(m.size, m.size, QImage::Format_Mono);
    small.setColor(0, qRgb(255, 255, 255));
    small.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < m.size; ++y) {
        for (int x = 0; x < m.size; ++x)
            small.setPixel(x, y, m.at(x, y) ? 1 : 0);
    }
    // Nearest-neighbour stretching keeps the modules sharp for the scanner.
    return small.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &r)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(r);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

QrPanel::QrPanel(Forms &forms, QWidget *parent)
    : QFrame(parent)
    , m_forms(forms)
    , m_payment(forms.ctx, this)
{
    setObjectName(QStringLiteral("qr_panel"));
    setFixedSize(400, 400);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);

    m_title = label(this, QStringLiteral("qr_title"), QString(), QRect(40, 8, 320, 28));
    QFont big = m_title->font();
    big.setPointSize(14);
    big.setBold(true);
    m_title->setFont(big);
    m_code = label(this, QStringLiteral("qr_image"), QString(), QRect(60, 40, 280, 280));
    m_amount = label(this, QStringLiteral("qr_amount"), QString(), QRect(20, 324, 360, 22));
    QFont money = m_amount->font();
    money.setPointSize(12);
    m_amount->setFont(money);
    label(this,
          QStringLiteral("qr_note"),
          QStringLiteral("支付检测中，请勿关闭此窗口"),
          QRect(20, 346, 360, 18));

    auto *close = new QPushButton(QStringLiteral("✕"), this);
    close->setObjectName(QStringLiteral("qr_close"));
    close->setGeometry(366, 6, 28, 28);
    close->setFlat(true);
    close->setCursor(Qt::PointingHandCursor);
    auto *again = new QPushButton(QStringLiteral("重新选择支付方式"), this);
    again->setObjectName(QStringLiteral("qr_again"));
    again->setGeometry(130, 368, 140, 26);
    again->setCursor(Qt::PointingHandCursor);
    connect(close, &QPushButton::clicked, this, &QrPanel::close_panel);
    connect(again, &QPushButton::clicked, this, &QrPanel::close_panel);

    m_payment.setKeepPolling([this] {
        if (!window()->isVisible()) {
            close_panel();
            return false;
        }
        return isVisible();
    });
    connect(&m_payment, &QrPayment::created, this, &QrPanel::show_code);
    connect(&m_payment, &QrPayment::failed, this, [this](const QString &message) {
        show_toast(m_forms, message, 0, window());
        emit busyChanged(busy());
    });
    connect(&m_payment, &QrPayment::paid, this, &QrPanel::paid);
    connect(&m_payment, &QrPayment::busyChanged, this, [this] { emit busyChanged(busy()); });
    hide();
}

void QrPanel::wxpay(const PayRequest &request, const QString &amount_caption)
{
    if (window() != this)
        window()->installEventFilter(this);
    const QString refusal = m_payment.start(request);
    if (!refusal.isEmpty()) {
        show_toast(m_forms, refusal, 0, window());
        return;
    }
    close_panel(); // a new payment replaces the one shown
    m_isalipay = request.isalipay;
    setAmountCaption(amount_caption);
    emit busyChanged(true);
}

void QrPanel::setAmountCaption(const QString &caption)
{
    m_amount->setText(QStringLiteral("您需支付：") + caption);
}

void QrPanel::show_code(const CreateAnswer &answer)
{
    m_title->setText(m_isalipay == QLatin1String("0") ? QStringLiteral("微信扫一扫支付")
                                                      : QStringLiteral("支付宝扫一扫支付"));
    m_image = DrawBar(answer.url);
    m_code->setPixmap(m_image.isNull() ? QPixmap() : QPixmap::fromImage(m_image));
    show();
    raise();
    emit busyChanged(true);
}

void QrPanel::close_panel()
{
    hide();
}

void QrPanel::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    if (m_payment.polling())
        m_payment.stop();
    emit busyChanged(busy());
}

bool QrPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The dialog going away ends the payment shown on it, and it must not come back
    // with a stale code when the dialog is opened again.
    if (watched == window() && event->type() == QEvent::Hide) {
        m_payment.stop();
        if (!isHidden())
            hide();
    }
    return QFrame::eventFilter(watched, event);
}
