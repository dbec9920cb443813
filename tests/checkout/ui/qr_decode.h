#pragma once

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

// What zbarimg reads from the image; empty when it finds no code.
inline QString zbar_decode(const QImage &image)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("code.png");
    if (image.isNull() || !image.save(file))
        return QString();
    QProcess zbar;
    zbar.start("zbarimg", {"--raw", "-q", file});
    if (!zbar.waitForFinished(10000))
        return QString();
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}
