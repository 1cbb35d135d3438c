#include "ui/tools/splitdialog.h"

#include "profile/profilescene.h"
#include "profile/profilewindowlayout.h"
#include "qtcanvas/qpaintercanvas.h"
#include "tools/divetools.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/qtext.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace zorv::ui {

// The profile as the profile window draws it; a held left button reports the sample under it.
class SplitPlot final : public QWidget {
public:
    SplitPlot(AppContext &context, int position, std::function<void(int)> picked, QWidget *parent)
        : QWidget(parent)
        , m_context(context)
        , m_position(position)
        , m_picked(std::move(picked))
    {
        setMinimumSize(420, 220);
        setCursor(Qt::CrossCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void pickAt(int x)
    {
        const logbook::DiveRecord *dive = m_context.logbook.dive(m_position);
        if (!dive || dive->sampleCount == 0)
            return;
        const profile::TrackingRect rect = profile::graphTrackingRect({ width(), height() });
        const int samples = std::min<int>(dive->sampleCount, logbook::kMaxSamples);
        m_cursor = profile::cursorIndexAt(std::clamp(x, rect.left, rect.right), rect, samples, m_cursor);
        m_x = std::clamp(x, rect.left, rect.right);
        update();
        m_picked(m_cursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        qtcanvas::QPainterCanvas canvas(painter);
        profile::GraphStyle style;
        style.colours = m_context.settings.profileColours;
        style.units = m_context.logbook.unitSystem();
        style.grid = m_context.settings.grid ? profile::Grid::On : profile::Grid::Off;
        profile::drawProfileGraph(canvas, { width(), height() }, m_context.logbook.dive(m_position), style);
        if (m_x >= 0) {
            const profile::TrackingRect rect = profile::graphTrackingRect({ width(), height() });
            painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
            painter.drawLine(m_x, rect.top, m_x, rect.bottom);
        }
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            pickAt(event->position().toPoint().x());
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() & Qt::LeftButton)
            pickAt(event->position().toPoint().x());
    }

private:
    AppContext &m_context;
    int m_position;
    std::function<void(int)> m_picked;
    int m_cursor = 0;
    int m_x = -1;
};

SplitDialog::SplitDialog(AppContext &context, int position, QWidget *parent)
    : QDialog(parent)
    , m_minute(new QLineEdit(QStringLiteral("0"), this))
{
    setWindowTitle(ui::tr("Séparer une plongée"));
    m_plot = new SplitPlot(
        context, position,
        [this](int sample) { m_minute->setText(QString::number(tools::splitMinuteForSample(sample))); }, this);
    m_minute->setObjectName(QStringLiteral("minute"));
    m_minute->setValidator(new QIntValidator(0, 9999, m_minute));
    m_minute->setMaximumWidth(m_minute->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    auto *form = new QFormLayout;
    form->addRow(ui::tr("Séparer la plongée à la minute:"), m_minute);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(ui::tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(ui::tr("Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_plot, 1);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(560, 360);
    fitTitle(this);
}

int SplitDialog::minute() const
{
    return m_minute->text().toInt();
}

void SplitDialog::pickAt(int x)
{
    m_plot->pickAt(x);
}

QWidget *SplitDialog::plot() const
{
    return m_plot;
}

} // namespace zorv::ui
