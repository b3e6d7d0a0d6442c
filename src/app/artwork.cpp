#include "app/artwork.h"

#include "core/version.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <iterator>

namespace zelkor {

namespace {

constexpr int kIconSize = 32;
const QColor kTurf(0x2e, 0x7d, 0x32);
const QColor kInk(0x26, 0x32, 0x38);
const QColor kPaper(0xfa, 0xfa, 0xf5);
const QColor kGold(0xf9, 0xa8, 0x25);
const QColor kBlue(0x15, 0x65, 0xc0);
const QColor kRed(0xc6, 0x28, 0x28);

void drawHorseshoe(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // An open ring, its gap at the bottom, with short heels.
    p.drawArc(box, -60 * 16, 300 * 16);
    const qreal r = box.width() / 2;
    p.setPen(QPen(colour.darker(130), width / 3));
    for (int i = 0; i < 5; ++i) {
        qreal angle = (150 - i * 30) * M_PI / 180.0;
        QPointF c = box.center() + QPointF(r * std::cos(angle), -r * std::sin(angle));
        p.drawPoint(c);
    }
}

void drawSheet(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 7, r.top());
    path.lineTo(r.right(), r.top() + 7);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
    p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

void drawFolder(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour.darker(150), 1.5));
    p.setBrush(colour);
    QPainterPath back;
    back.moveTo(3, 9);
    back.lineTo(12, 9);
    back.lineTo(15, 12);
    back.lineTo(29, 12);
    back.lineTo(29, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(colour.lighter(125));
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 16);
    front.lineTo(31, 16);
    front.lineTo(29, 27);
    front.closeSubpath();
    p.drawPath(front);
}

void drawText(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, int px,
              bool bold = true) {
    QFont f = p.font();
    f.setPixelSize(px);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

QPixmap commandPixmap(CommandArt art, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / qreal(kIconSize), size / qreal(kIconSize));
    switch (art) {
    case CommandArt::NewRace:
        drawSheet(p, QRectF(7, 3, 18, 26));
        p.setPen(QPen(kGold, 2.5));
        p.drawLine(QPointF(24, 18), QPointF(24, 28));
        p.drawLine(QPointF(19, 23), QPointF(29, 23));
        break;
    case CommandArt::OpenFile:
        drawFolder(p, kGold);
        drawHorseshoe(p, QRectF(13, 16, 9, 9), kInk, 2);
        break;
    case CommandArt::OpenJraVan:
        drawFolder(p, QColor(0x66, 0xbb, 0x6a));
        drawText(p, QRectF(6, 15, 24, 12), QStringLiteral("JV"), Qt::white, 11);
        break;
    case CommandArt::ChangeRace: {
        p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 150 * 16);
        p.drawArc(QRectF(6, 6, 20, 20), 210 * 16, 150 * 16);
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(24, 4), QPointF(29, 12), QPointF(20, 12)}));
        p.drawPolygon(QPolygonF({QPointF(8, 28), QPointF(3, 20), QPointF(12, 20)}));
        break;
    }
    case CommandArt::Save:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(0xcf, 0xd8, 0xdc));
        p.drawRect(QRectF(8, 17, 16, 11));
        break;
    case CommandArt::Predict: {
        // A crystal ball with a star: the forecast.
        QRadialGradient g(QPointF(13, 12), 14);
        g.setColorAt(0, QColor(0xe1, 0xf5, 0xfe));
        g.setColorAt(1, kBlue);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(g);
        p.drawEllipse(QRectF(5, 3, 22, 22));
        p.setBrush(QColor(0x8d, 0x6e, 0x63));
        p.drawRoundedRect(QRectF(8, 24, 16, 5), 2, 2);
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            qreal r = i % 2 ? 3.0 : 7.0;
            qreal a = (-90 + i * 36) * M_PI / 180.0;
            star << QPointF(16 + r * std::cos(a), 14 + r * std::sin(a));
        }
        p.setBrush(kGold);
        p.setPen(Qt::NoPen);
        p.drawPolygon(star);
        break;
    }
    case CommandArt::Bets:
        // A betting ticket with a punched edge.
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xff, 0xf3, 0xe0));
        p.drawRect(QRectF(3, 8, 26, 16));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(3, 16), 3, 3);
        p.drawEllipse(QPointF(29, 16), 3, 3);
        drawText(p, QRectF(5, 8, 22, 16), QStringLiteral("券"), kRed, 12);
        break;
    case CommandArt::Trainer:
        // A head and a speech bubble: what the trainer really says.
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QRectF(4, 12, 10, 10));
        p.drawRoundedRect(QRectF(2, 22, 14, 8), 4, 4);
        p.setPen(QPen(kInk, 1.3));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(14, 2, 16, 12), 4, 4);
        p.drawLine(QPointF(17, 14), QPointF(14, 18));
        drawText(p, QRectF(14, 2, 16, 12), QStringLiteral("↑"), kRed, 10);
        break;
    case CommandArt::Sports:
    case CommandArt::Newspaper: {
        drawSheet(p, QRectF(4, 4, 24, 24));
        p.setPen(QPen(art == CommandArt::Sports ? kRed : kInk, 3));
        p.drawLine(QPointF(8, 10), QPointF(20, 10));
        p.setPen(QPen(kInk.lighter(200), 1.5));
        for (int y = 15; y <= 24; y += 3)
            p.drawLine(QPointF(8, y), QPointF(24, y));
        if (art == CommandArt::Sports)
            drawText(p, QRectF(16, 13, 12, 12), QStringLiteral("穴"), kBlue, 10);
        break;
    }
    case CommandArt::Backtest:
        // A chart of past returns over its axes.
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(4, 4), QPointF(4, 28));
        p.drawLine(QPointF(4, 28), QPointF(29, 28));
        p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF(
            {QPointF(7, 22), QPointF(12, 16), QPointF(17, 19), QPointF(22, 10), QPointF(28, 6)}));
        break;
    case CommandArt::Help:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(4, 4, 24, 24));
        drawText(p, QRectF(4, 4, 24, 24), QStringLiteral("?"), Qt::white, 18);
        break;
    }
    return pm;
}

const char* commandArtName(CommandArt art) {
    static constexpr const char* kNames[] = {"new-race", "open-file", "open-jra-van", "change-race",
                                             "save",     "predict",   "bets",         "trainer",
                                             "sports",   "newspaper", "backtest",     "help"};
    static_assert(std::size(kNames) == kCommandArtCount);
    return kNames[static_cast<int>(art)];
}

QPixmap applicationPixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kTurf);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    drawHorseshoe(p, QRectF(7, 6, 18, 18), kGold, 4);
    drawText(p, QRectF(9, 10, 14, 12), QStringLiteral("穴"), Qt::white, 10);
    return pm;
}

QPixmap splashPicture() {
    QPixmap pm(300, 240);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(0x0d, 0x47, 0xa1));
    sky.setColorAt(1, QColor(0x90, 0xca, 0xf9));
    p.fillRect(QRect(0, 0, 300, 150), sky);
    QLinearGradient turf(0, 150, 0, 240);
    turf.setColorAt(0, QColor(0x43, 0xa0, 0x47));
    turf.setColorAt(1, QColor(0x1b, 0x5e, 0x20));
    p.fillRect(QRect(0, 150, 300, 90), turf);
    // The rail of the home straight, running into the distance.
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(0, 190), QPointF(300, 160));
    p.setPen(QPen(Qt::white, 1.5));
    for (int x = 10; x < 300; x += 24)
        p.drawLine(QPointF(x, 190 - x * 0.1), QPointF(x, 202 - x * 0.1));
    drawHorseshoe(p, QRectF(22, 28, 64, 64), kGold, 10);
    drawText(p, QRectF(92, 24, 200, 50), QStringLiteral("ゼルコ馬"), Qt::white, 40);
    drawText(p, QRectF(92, 72, 200, 30), QStringLiteral("2000"), kGold, 26);
    drawText(p, QRectF(0, 112, 300, 24), QStringLiteral("穴馬を見つける競馬予想"), Qt::white, 16,
             false);
    drawText(p, QRectF(0, 208, 300, 24),
             QStringLiteral("Version ") + QString::fromLatin1(kVersionShown), Qt::white, 12, false);
    return pm;
}

} // namespace zelkor
