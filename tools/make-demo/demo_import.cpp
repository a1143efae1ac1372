// A sample statement dataset in the importer's input shape: our own
// statements and sign pictures, small enough to read, large enough for a
// mock exam (25 chapters, 50 sub-topics).

#include "demo_content.h"

#include "platform/files/atomic_save.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace ziro::demo {

namespace {

const char* const kChapters[] = {
    "definizioni stradali",    "pericolo",           "divieto",            "obbligo",
    "precedenza",              "segnaletica orizzontale", "semafori",      "indicazione",
    "pannelli integrativi",    "limiti di velocita", "distanza di sicurezza", "norme di circolazione",
    "esempi di precedenza",    "sorpasso",           "fermata e sosta",    "norme varie",
    "luci e dispositivi",      "cinture e casco",    "patente e punti",    "incidenti",
    "alcool e droghe",         "primo soccorso",     "assicurazione",      "consumi e ambiente",
    "elementi del veicolo",
};

// A sign: a red triangle, a red ring or a blue disc, with its number.
QByteArray signPng(int number)
{
    QImage image(120, 120, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (number % 3) {
    case 0:
        p.setPen(QPen(QColor(200, 30, 30), 10));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(60, 10), QPointF(110, 105), QPointF(10, 105)}));
        break;
    case 1:
        p.setPen(QPen(QColor(200, 30, 30), 12));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(10, 10, 100, 100));
        break;
    default:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 180));
        p.drawEllipse(QRectF(8, 8, 104, 104));
        break;
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(28);
    f.setBold(true);
    p.setFont(f);
    p.setPen(number % 3 == 2 ? Qt::white : Qt::black);
    p.drawText(QRectF(0, 30, 120, 70), Qt::AlignCenter, QString::number(number));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

bool writeSampleDataset(const QString& folder, QString* error)
{
    const QString pictures = QDir(folder).filePath(QStringLiteral("img_sign"));
    if (!QDir().mkpath(pictures)) {
        if (error)
            *error = QStringLiteral("cannot make ") + pictures;
        return false;
    }
    QJsonObject chapters;
    int sign = 700;
    for (int c = 0; c < 25; ++c) {
        const QString chapter = QString::fromUtf8(kChapters[c]);
        QJsonObject subTopics;
        for (int s = 1; s <= 2; ++s) {
            QJsonArray statements;
            for (int i = 1; i <= 3; ++i) {
                QJsonObject st;
                const bool vero = (c + s + i) % 2 == 0;
                st.insert(QStringLiteral("q"),
                          QStringLiteral("Capitolo \"%1\", argomento %2: affermazione %3, da ritenere %4.")
                              .arg(chapter)
                              .arg(s)
                              .arg(i)
                              .arg(vero ? QStringLiteral("vera") : QStringLiteral("falsa")));
                st.insert(QStringLiteral("a"), vero);
                if (i == 1) {
                    ++sign;
                    st.insert(QStringLiteral("img"), QStringLiteral("/img_sign/%1.png").arg(sign));
                    if (!saveFileAtomically(QDir(pictures).filePath(QStringLiteral("%1.png").arg(sign)), signPng(sign),
                                            error))
                        return false;
                }
                statements.append(st);
            }
            subTopics.insert(QStringLiteral("%1 argomento %2").arg(chapter).arg(s), statements);
        }
        chapters.insert(QStringLiteral("%1 %2").arg(c + 1, 2, 10, QLatin1Char('0')).arg(chapter), subTopics);
    }
    return saveFileAtomically(QDir(folder).filePath(QStringLiteral("quiz.json")),
                              QJsonDocument(chapters).toJson(QJsonDocument::Indented), error);
}

}  // namespace ziro::demo
