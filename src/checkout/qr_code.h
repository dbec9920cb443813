#pragma once

#include <QString>
#include <QVector>

// The modules of a payment link's QR code: version 10, level L, with a quiet zone of
// 4 modules on every side. Empty (size 0) when the link does not fit.
struct QrModules
{
    int size = 0;       // modules per side, quiet zone included
    QVector<bool> dark; // size * size, row by row
    bool at(int x, int y) const { return dark[y * size + x]; }
};

QrModules qr_modules(const QString &link);
