#pragma once

#include <QByteArray>
#include <QString>

// Code page 936 (GBK). A character GBK cannot hold becomes '?'.
QByteArray to_gbk(const QString &text);
// Invalid sequences become U+FFFD; ok (when given) tells whether there was none.
// A bad byte never takes an ASCII byte after it (a line end stays a line end).
QString from_gbk(const QByteArray &bytes, bool *ok = nullptr);
