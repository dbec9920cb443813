// paysim: a payment-service stand-in for trying QR payments without an account.
#include "paysim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription("Payment-service stand-in for Mivo's QR payments.");
    cli.addHelpOption();
    cli.addOptions({
        {"host", "Address to listen on (default 0.0.0.0, every interface).", "address", "0.0.0.0"},
        {"port", "Port to listen on; 0 picks a free one (default 8090).", "port", "8090"},
        {"slow", "Answer every service request this many milliseconds late.", "ms"},
        {"unavailable", "Answer every service request with HTTP 503."},
        {"garbage", "Answer every service request with text that is no JSON."},
        {"refuse", "Refuse to create payments: status 0 with this message.", "message"},
        {"paytype", "Pay type to report for paid payments (default 1 WeChat, 2 Alipay).", "n"},
        {"price", "Price in yuan to report for paid payments (default the amount).", "yuan"},
        {"paid-unknown", "Report payments it does not know as paid (price 0.00)."},
        {"settings", "Online payment settings to start with, a JSON object.", "json"},
    });
    cli.process(app);

    PaySim::Faults faults;
    faults.delay_ms = cli.value("slow").toInt();
    faults.unavailable = cli.isSet("unavailable");
    faults.garbage = cli.isSet("garbage");
    faults.refuse = cli.value("refuse");
    faults.paytype = cli.value("paytype");
    faults.price = cli.value("price");
    faults.paid_unknown = cli.isSet("paid-unknown");
    faults.settings = QJsonDocument::fromJson(cli.value("settings").toUtf8()).object();

    PaySim sim(faults);
    const QHostAddress address(cli.value("host"));
    const quint16 port = sim.listen(address, quint16(cli.value("port").toUInt()));
    QTextStream out(stdout);
    if (port == 0) {
        QTextStream(stderr) << "paysim: cannot listen on " << cli.value("host") << ':'
                            << cli.value("port") << '\n';
        return 1;
    }
    const QString shown
        = address == QHostAddress::AnyIPv4 ? QStringLiteral("127.0.0.1") : address.toString();
    out << "paysim listening on http://" << shown << ':' << port << Qt::endl;
    return app.exec();
}
