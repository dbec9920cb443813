#pragma once

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

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

// With MIVO_SCREENSHOTS set to a folder, keeps a picture of the window there.
inline void keep_screenshot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("MIVO_SCREENSHOTS");
    if (!folder.isEmpty())
        window->grab().save(folder + "/" + name);
}
