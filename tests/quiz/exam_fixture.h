#pragma once

// A bank an exam can be drawn from: `chapters` chapters of `blocks` blocks
// of `perBlock` statements, keyed chapter, sub-topic, part ("01021").

#include "bank_fixture.h"

namespace ziro::test {

inline std::vector<BankRow> examBankRows(int chapters, int blocks, int perBlock)
{
    std::vector<BankRow> rows;
    for (int c = 1; c <= chapters; ++c)
        for (int b = 1; b <= blocks; ++b) {
            const QByteArray key = QStringLiteral("%1%2%3")
                                       .arg(c, 2, 10, QLatin1Char('0'))
                                       .arg(b, 2, 10, QLatin1Char('0'))
                                       .arg(1)
                                       .toLatin1();
            for (BankRow& r : blockRows(key.constData(), perBlock))
                rows.push_back(r);
        }
    return rows;
}

}  // namespace ziro::test
