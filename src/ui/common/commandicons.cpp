#include "ui/common/commandicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zorv::ui {

namespace {

    using app::Command;

    constexpr int kSize = 32;

    QPixmap canvas()
    {
        QPixmap pixmap(kSize, kSize);
        pixmap.fill(Qt::transparent);
        return pixmap;
    }

    void sheet(QPainter &p, const QColor &paper)
    {
        QPainterPath page;
        page.moveTo(7, 3);
        page.lineTo(19, 3);
        page.lineTo(25, 9);
        page.lineTo(25, 29);
        page.lineTo(7, 29);
        page.closeSubpath();
        p.setPen(QPen(QColor(70, 70, 80), 1.5));
        p.setBrush(paper);
        p.drawPath(page);
        p.drawLine(QPointF(19, 3), QPointF(19, 9));
        p.drawLine(QPointF(19, 9), QPointF(25, 9));
    }

    void lines(QPainter &p)
    {
        p.setPen(QPen(QColor(120, 140, 170), 1.5));
        for (int y = 14; y <= 24; y += 5)
            p.drawLine(10, y, 22, y);
    }

    QIcon draw(Command command)
    {
        QPixmap pixmap = canvas();
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        switch (command) {
        case Command::NewLogbook:
            sheet(p, Qt::white);
            p.setPen(QPen(QColor(30, 150, 60), 3));
            p.drawLine(16, 14, 16, 24);
            p.drawLine(11, 19, 21, 19);
            break;
        case Command::OpenLogbook:
            p.setPen(QPen(QColor(120, 90, 20), 1.5));
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(3, 9, 26, 19));
            p.setBrush(QColor(250, 220, 120));
            p.drawPolygon(QPolygonF({ QPointF(3, 28), QPointF(8, 15), QPointF(31, 15), QPointF(29, 28) }));
            break;
        case Command::SaveLogbook:
            p.setPen(QPen(QColor(30, 50, 90), 1.5));
            p.setBrush(QColor(60, 100, 170));
            p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 4, 14, 9));
            p.setBrush(QColor(200, 200, 210));
            p.drawRect(QRectF(9, 18, 14, 10));
            break;
        case Command::EditDive:
            sheet(p, Qt::white);
            lines(p);
            p.setPen(QPen(QColor(200, 120, 0), 4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(14, 26, 28, 12);
            break;
        case Command::InsertDive:
            sheet(p, QColor(230, 245, 255));
            lines(p);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 150, 60));
            p.drawEllipse(QRectF(16, 16, 14, 14));
            p.setPen(QPen(Qt::white, 2.5));
            p.drawLine(23, 19, 23, 27);
            p.drawLine(19, 23, 27, 23);
            break;
        case Command::DeleteDive:
            p.setPen(QPen(QColor(200, 30, 30), 4.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(8, 8, 24, 24);
            p.drawLine(24, 8, 8, 24);
            break;
        case Command::TableView:
            p.setPen(QPen(QColor(70, 70, 80), 1.5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 5, 26, 22));
            p.fillRect(QRectF(4, 6, 25, 5), QColor(60, 100, 170));
            for (int y = 16; y < 27; y += 5)
                p.drawLine(3, y, 29, y);
            p.drawLine(12, 5, 12, 27);
            break;
        case Command::Statistics:
            // Horizontal bars, as the statistics pages draw them.
            p.fillRect(QRectF(4, 5, 22, 6), QColor(0, 0, 255));
            p.fillRect(QRectF(4, 13, 14, 6), QColor(255, 64, 64));
            p.fillRect(QRectF(4, 21, 18, 6), QColor(0, 128, 0));
            p.setPen(QPen(QColor(40, 40, 50), 1.5));
            p.drawLine(3, 3, 3, 29);
            break;
        case Command::ExternalApplication:
            p.setPen(QPen(QColor(40, 40, 50), 1.5));
            p.setBrush(QColor(40, 40, 50));
            p.drawRoundedRect(QRectF(3, 6, 26, 20), 2, 2);
            p.setPen(QPen(QColor(90, 230, 90), 2));
            p.drawPolyline(QPolygonF({ QPointF(8, 12), QPointF(13, 16), QPointF(8, 20) }));
            p.drawLine(15, 21, 22, 21);
            break;
        case Command::Print:
            p.setPen(QPen(QColor(70, 70, 80), 1.5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 3, 14, 10));
            p.setBrush(QColor(150, 155, 165));
            p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 19, 14, 10));
            break;
        case Command::CopyDive:
            p.translate(-3, -2);
            sheet(p, QColor(235, 240, 250));
            p.translate(7, 5);
            p.scale(0.85, 0.85);
            sheet(p, Qt::white);
            lines(p);
            break;
        case Command::PasteDive:
            p.setPen(QPen(QColor(110, 80, 40), 1.5));
            p.setBrush(QColor(190, 150, 90));
            p.drawRoundedRect(QRectF(5, 5, 20, 24), 2, 2);
            p.setBrush(QColor(150, 155, 165));
            p.drawRect(QRectF(10, 3, 10, 5));
            p.translate(9, 9);
            p.scale(0.7, 0.7);
            sheet(p, Qt::white);
            lines(p);
            break;
        case Command::SearchDive:
        case Command::SearchForward:
        case Command::SearchBackward: {
            // A magnifier; the repeats carry the direction they search in.
            const bool arrow = command != Command::SearchDive;
            const qreal shift = arrow ? -2 : 0;
            p.setPen(QPen(QColor(70, 70, 80), 3, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(QColor(210, 230, 250));
            p.drawEllipse(QRectF(4, 4 + shift, 15, 15));
            p.drawLine(QPointF(17, 17 + shift), QPointF(25, 25 + shift));
            if (arrow) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(30, 130, 60));
                const qreal tip = command == Command::SearchForward ? 30 : 2;
                const qreal back = command == Command::SearchForward ? 22 : 10;
                p.drawPolygon(QPolygonF({ QPointF(tip, 26), QPointF(back, 21), QPointF(back, 31) }));
            }
            break;
        }
        case Command::ReopenLogbook: {
            p.setPen(QPen(QColor(30, 110, 190), 3.5, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 110, 190));
            p.drawPolygon(QPolygonF({ QPointF(20, 2), QPointF(27, 9), QPointF(18, 11) }));
            break;
        }
        case Command::ReadComputer: {
            // A wrist computer with an arrow towards the logbook.
            p.setPen(QPen(QColor(70, 70, 80), 1.5));
            p.setBrush(QColor(90, 90, 100));
            p.drawRect(QRectF(7, 1, 10, 30));
            p.setBrush(QColor(40, 60, 90));
            p.drawEllipse(QRectF(3, 7, 18, 18));
            p.setBrush(QColor(170, 220, 200));
            p.drawEllipse(QRectF(6, 10, 12, 12));
            p.setPen(QPen(QColor(30, 150, 60), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(21, 16), QPointF(30, 16));
            QPainterPath head;
            head.moveTo(31, 16);
            head.lineTo(26, 11);
            head.lineTo(26, 21);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 150, 60));
            p.drawPath(head);
            break;
        }
        case Command::ProfileWindow:
            p.setPen(QPen(QColor(70, 70, 80), 1.5));
            p.setBrush(QColor(255, 255, 192));
            p.drawRect(QRectF(3, 4, 26, 24));
            p.setPen(QPen(QColor(0, 0, 128), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(
                QPolygonF({ QPointF(5, 7), QPointF(9, 22), QPointF(16, 20), QPointF(22, 14), QPointF(27, 7) }));
            p.setPen(QPen(QColor(220, 0, 0), 2));
            p.drawLine(QPointF(23, 6), QPointF(28, 6));
            break;
        default:
            paintProgramMark(p, QRectF(2, 2, 28, 28));
            break;
        }
        return QIcon(pixmap);
    }

    QString themeName(Command command)
    {
        switch (command) {
        case Command::NewLogbook:
            return QStringLiteral("document-new");
        case Command::OpenLogbook:
            return QStringLiteral("document-open");
        case Command::SaveLogbook:
            return QStringLiteral("document-save");
        case Command::EditDive:
            return QStringLiteral("document-properties");
        case Command::InsertDive:
            return QStringLiteral("list-add");
        case Command::DeleteDive:
            return QStringLiteral("edit-delete");
        case Command::TableView:
            return QStringLiteral("x-office-spreadsheet");
        case Command::ExternalApplication:
            return QStringLiteral("utilities-terminal");
        case Command::ReopenLogbook:
            return QStringLiteral("view-refresh");
        case Command::Print:
            return QStringLiteral("document-print");
        case Command::About:
            return QStringLiteral("help-about");
        case Command::CopyDive:
            return QStringLiteral("edit-copy");
        case Command::PasteDive:
            return QStringLiteral("edit-paste");
        case Command::SearchDive:
            return QStringLiteral("edit-find");
        default:
            return {};
        }
    }

} // namespace

QIcon commandIcon(Command command)
{
    const QString name = themeName(command);
    return name.isEmpty() ? draw(command) : QIcon::fromTheme(name, draw(command));
}

void paintProgramMark(QPainter &p, const QRectF &area)
{
    p.save();
    p.translate(area.topLeft());
    p.scale(area.width() / 64.0, area.height() / 64.0);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 78, 139));
    p.drawRoundedRect(QRectF(0, 0, 64, 64), 12, 12);
    // The diver-down flag: red with a white diagonal.
    p.setBrush(QColor(220, 30, 40));
    p.drawRect(QRectF(12, 10, 40, 28));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF(
        { QPointF(12, 10), QPointF(20, 10), QPointF(52, 32), QPointF(52, 38), QPointF(44, 38), QPointF(12, 16) }));
    QPainterPath wave;
    wave.moveTo(6, 50);
    wave.cubicTo(16, 42, 24, 58, 32, 50);
    wave.cubicTo(40, 42, 48, 58, 58, 50);
    p.setPen(QPen(QColor(120, 200, 255), 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.restore();
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : { 16, 32, 64, 128 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        paintProgramMark(p, QRectF(0, 0, size, size));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace zorv::ui
