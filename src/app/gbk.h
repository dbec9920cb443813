#pragma once

#include <QByteArray>
#include <QString>

// Code page 936 (GBK). A character GBK cannot hold becomes '?'.
QByteArray to_gbk(const QString &text);
// Invalid sequences become U+FFFD.
QString from_gbk(const QByteArray &bytes);
