// Draws Mivo's own artwork: the 32 x 32 menu icons (numbered as the menu bar uses
// them), the 300 x 200 login picture and the program icon.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor Ink = Qt::white;

struct Icon
{
    int number;
    QColor colour;
    std::function<void(QPainter &)> draw; // on a 32 x 32 canvas
};

QPen pen(qreal w = 2.2)
{
    return QPen(Ink, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void table(QPainter &p)
{
    p.setPen(pen());
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(9, 10, 14, 12), 2, 2);
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(13, 4, 6, 4));
    p.drawEllipse(QRectF(13, 24, 6, 4));
    p.drawEllipse(QRectF(3, 14, 4, 4));
    p.drawEllipse(QRectF(25, 14, 4, 4));
}

void arrow(QPainter &p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF d = (to - from) / QLineF(from, to).length();
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 5 + n * 4);
    p.drawLine(to, to - d * 5 - n * 4);
}

void printer(QPainter &p)
{
    p.setPen(pen());
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(10, 5, 12, 7));
    p.drawRoundedRect(QRectF(5, 12, 22, 10), 2, 2);
    p.setBrush(Ink);
    p.drawRect(QRectF(10, 19, 12, 8));
}

void person(QPainter &p, qreal x, qreal scale)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QRectF(x + 5 * scale, 4 * scale + 2, 8 * scale, 8 * scale));
    QPainterPath body;
    body.moveTo(x + 1 * scale, 26 * scale + 2);
    body.cubicTo(x + 1 * scale,
                 15 * scale + 2,
                 x + 17 * scale,
                 15 * scale + 2,
                 x + 17 * scale,
                 26 * scale + 2);
    body.closeSubpath();
    p.drawPath(body);
}

void pencil(QPainter &p, QPointF tip)
{
    p.setPen(QPen(QColor("#FFD54F"), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tip + QPointF(2, -2), tip + QPointF(9, -9));
    p.setPen(pen(1.5));
    p.drawLine(tip, tip + QPointF(2, -2));
}

void gear(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.save();
    p.translate(16, 16);
    for (int i = 0; i < 8; ++i) {
        p.drawRoundedRect(QRectF(-2.5, -12, 5, 6), 1, 1);
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 8.5, 8.5);
    p.restore();
    p.setBrush(QColor(0, 0, 0, 0));
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QVector<Icon> icons()
{
    return {
        {0, QColor("#2E86C1"), table},
        {1,
         QColor("#8E44AD"),
         [](QPainter &p) {
             p.setPen(pen());
             arrow(p, QPointF(6, 11), QPointF(26, 11));
             arrow(p, QPointF(26, 21), QPointF(6, 21));
         }},
        {2,
         QColor("#16A085"),
         [](QPainter &p) {
             p.setPen(pen());
             p.drawRoundedRect(QRectF(5, 8, 22, 16), 2, 2);
             p.setPen(pen(2.6));
             p.drawLine(QPointF(11, 12), QPointF(21, 20));
             p.drawLine(QPointF(21, 12), QPointF(11, 20));
         }},
        {3,
         QColor("#E67E22"),
         [](QPainter &p) {
             p.setPen(pen());
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(6, 4, 17, 24), 2, 2);
             p.drawLine(QPointF(10, 11), QPointF(19, 11));
             p.drawLine(QPointF(10, 16), QPointF(19, 16));
             p.drawLine(QPointF(10, 21), QPointF(15, 21));
             pencil(p, QPointF(17, 27));
         }},
        {4,
         QColor("#C0392B"),
         [](QPainter &p) {
             p.setPen(pen());
             p.drawEllipse(QPointF(16, 16), 11, 11);
             p.drawLine(QPointF(11, 9), QPointF(16, 15));
             p.drawLine(QPointF(21, 9), QPointF(16, 15));
             p.drawLine(QPointF(16, 15), QPointF(16, 24));
             p.drawLine(QPointF(11.5, 16.5), QPointF(20.5, 16.5));
             p.drawLine(QPointF(11.5, 20.5), QPointF(20.5, 20.5));
         }},
        {5, QColor("#2C3E50"), printer},
        {6,
         QColor("#D35400"),
         [](QPainter &p) {
             printer(p);
             // a flame on the paper: the kitchen's copy
             QPainterPath f;
             f.moveTo(16, 2);
             f.cubicTo(20, 6, 19, 10, 16, 11);
             f.cubicTo(13, 10, 12, 6, 16, 2);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor("#FFD54F"));
             p.drawPath(f);
         }},
        {7,
         QColor("#7F8C8D"),
         [](QPainter &p) {
             p.setPen(pen());
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(7, 4, 18, 24), 2, 2);
             for (int y : {10, 15, 20}) {
                 p.drawPoint(QPointF(11, y));
                 p.drawLine(QPointF(14, y), QPointF(21, y));
             }
         }},
        {8,
         QColor("#1F618D"),
         [](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(Ink);
             for (int x : {6, 17})
                 for (int y : {6, 17})
                     p.drawRoundedRect(QRectF(x, y, 9, 9), 2, 2);
         }},
        {9,
         QColor("#CA6F1E"),
         [](QPainter &p) {
             p.setPen(pen());
             p.setBrush(Ink);
             QPainterPath bowl;
             bowl.moveTo(4, 15);
             bowl.lineTo(28, 15);
             bowl.cubicTo(28, 24, 22, 27, 16, 27);
             bowl.cubicTo(10, 27, 4, 24, 4, 15);
             p.drawPath(bowl);
             p.setBrush(Qt::NoBrush);
             p.setPen(pen(1.8));
             for (int x : {11, 16, 21}) {
                 QPainterPath s;
                 s.moveTo(x, 12);
                 s.cubicTo(x - 3, 9, x + 3, 7, x, 4);
                 p.drawPath(s);
             }
         }},
        {10,
         QColor("#117A65"),
         [](QPainter &p) {
             p.setPen(pen());
             p.setBrush(Qt::NoBrush);
             QPainterPath tag;
             tag.moveTo(5, 5);
             tag.lineTo(15, 5);
             tag.lineTo(27, 17);
             tag.lineTo(17, 27);
             tag.lineTo(5, 15);
             tag.closeSubpath();
             p.drawPath(tag);
             p.setBrush(Ink);
             p.drawEllipse(QPointF(10.5, 10.5), 1.8, 1.8);
         }},
        {11,
         QColor("#AF601A"),
         [](QPainter &p) {
             person(p, 7, 1.0);
         }},
        {12,
         QColor("#5B2C6F"),
         [](QPainter &p) {
             person(p, 1, 0.85);
             person(p, 14, 0.85);
         }},
        {13, QColor("#34495E"), gear},
        {14,
         QColor("#2874A6"),
         [](QPainter &p) {
             person(p, 2, 0.95);
             pencil(p, QPointF(18, 28));
         }},
        {15,
         QColor("#922B21"),
         [](QPainter &p) {
             p.setPen(pen(2.6));
             p.drawArc(QRectF(6, 7, 20, 20), 130 * 16, 280 * 16);
             p.drawLine(QPointF(16, 4), QPointF(16, 15));
         }},
        {16,
         QColor("#1E8449"),
         [](QPainter &p) {
             // bars on a base line: the takings report
             p.setPen(Qt::NoPen);
             p.setBrush(Ink);
             p.drawRoundedRect(QRectF(7, 17, 4.5, 9), 1, 1);
             p.drawRoundedRect(QRectF(13.75, 11, 4.5, 15), 1, 1);
             p.drawRoundedRect(QRectF(20.5, 6, 4.5, 20), 1, 1);
             p.setPen(pen());
             p.drawLine(QPointF(5, 27.5), QPointF(27, 27.5));
         }},
        {18,
         QColor("#E74C3C"),
         [](QPainter &p) {
             p.setPen(pen());
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(6, 8), QPointF(26, 8));
             p.drawLine(QPointF(13, 5), QPointF(19, 5));
             QPainterPath can;
             can.moveTo(8.5, 8);
             can.lineTo(10, 27);
             can.lineTo(22, 27);
             can.lineTo(23.5, 8);
             p.drawPath(can);
             p.drawLine(QPointF(14, 12), QPointF(14, 23));
             p.drawLine(QPointF(18, 12), QPointF(18, 23));
         }},
    };
}

QImage draw_icon(const Icon &icon, int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, icon.colour.lighter(125));
    g.setColorAt(1, icon.colour);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 7, 7);
    icon.draw(p);
    return img;
}

// A plate with a fork and knife: the program's mark.
void plate(QPainter &p, QPointF c, qreal r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c, r, r);
    p.setBrush(QColor("#D6EAF8"));
    p.drawEllipse(c, r * 0.68, r * 0.68);
    p.setPen(QPen(Qt::white, r * 0.09, Qt::SolidLine, Qt::RoundCap));
    const qreal x0 = c.x() - r * 1.35, x1 = c.x() + r * 1.35;
    p.drawLine(QPointF(x0, c.y() - r * 0.8), QPointF(x0, c.y() + r * 0.9));
    for (qreal dx : {-0.15, 0.0, 0.15})
        p.drawLine(QPointF(x0 + dx * r, c.y() - r * 0.8), QPointF(x0 + dx * r, c.y() - r * 0.35));
    p.drawLine(QPointF(x1, c.y() - r * 0.8), QPointF(x1, c.y() + r * 0.9));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    QPainterPath blade;
    blade.moveTo(x1, c.y() - r * 0.85);
    blade.cubicTo(x1 + r * 0.25, c.y() - r * 0.6, x1 + r * 0.2, c.y(), x1, c.y());
    p.drawPath(blade);
}

QImage login_picture()
{
    QImage img(300, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 300, 200);
    g.setColorAt(0, QColor("#5DADE2"));
    g.setColorAt(1, QColor("#2E6DA4"));
    p.fillRect(img.rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawEllipse(QPointF(250, 30), 70, 70);
    p.drawEllipse(QPointF(30, 190), 60, 60);
    plate(p, QPointF(150, 72), 38);
    QFont title(QStringLiteral("WenQuanYi Zen Hei"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 122, 300, 36), Qt::AlignCenter, QStringLiteral("Mivo"));
    QFont sub(QStringLiteral("WenQuanYi Zen Hei"));
    sub.setPixelSize(17);
    p.setFont(sub);
    p.drawText(QRectF(0, 158, 300, 28), Qt::AlignCenter, QStringLiteral("餐饮管理软件"));
    return img;
}

QImage program_icon()
{
    QImage img(64, 64, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#428BCA"));
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 14, 14);
    plate(p, QPointF(32, 32), 15);
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    for (const Icon &icon : icons()) {
        const QString name
            = out.filePath(QStringLiteral("menu_%1.png").arg(icon.number, 2, 10, QChar('0')));
        if (!draw_icon(icon, 32).save(name))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
    }
    login_picture().save(out.filePath(QStringLiteral("login.png")));
    program_icon().save(out.filePath(QStringLiteral("mivo.png")));
    // A large sheet of every icon, for looking at them.
    QImage sheet(17 * 72, 72, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter s(&sheet);
    int x = 4;
    for (const Icon &icon : icons()) {
        s.drawImage(x, 4, draw_icon(icon, 64));
        x += 72;
    }
    s.end();
    sheet.save(QDir::temp().filePath(QStringLiteral("mivo_icon_sheet.png")));
    return 0;
}
