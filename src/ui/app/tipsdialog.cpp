#include "ui/app/tipsdialog.h"

#include "app/tips.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    // A light bulb beside the tip, drawn rather than shipped.
    QPixmap bulb()
    {
        QPixmap pixmap(48, 64);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(150, 110, 0), 2));
        p.setBrush(QColor(255, 225, 90));
        p.drawEllipse(QRectF(6, 4, 36, 36));
        p.setBrush(QColor(170, 170, 180));
        p.drawRect(QRectF(16, 40, 16, 14));
        p.drawLine(16, 45, 32, 45);
        p.drawLine(16, 50, 32, 50);
        return pixmap;
    }

} // namespace

TipsDialog::TipsDialog(AppContext &context, std::filesystem::path tipsFile, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_tipsFile(std::move(tipsFile))
    , m_state(settings::readTipState(context.mainIni))
{
    setWindowTitle(qstr(StringId::TipsTitle));

    auto *panel = new QFrame;
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette paper = panel->palette();
    paper.setColor(QPalette::Window, QColor(255, 255, 240));
    paper.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(paper);

    auto *picture = new QLabel;
    picture->setPixmap(bulb());
    picture->setAlignment(Qt::AlignTop);
    auto *heading = new QLabel(qstr(StringId::TipsDidYouKnow));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    heading->setFont(headingFont);
    m_tip = new QLabel;
    m_tip->setWordWrap(true);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tip->setMinimumSize(320, 90);
    m_tip->setTextFormat(Qt::PlainText);

    auto *text = new QVBoxLayout;
    text->addWidget(heading);
    text->addWidget(m_tip, 1);
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(14, 14, 14, 14);
    panelLayout->setSpacing(14);
    panelLayout->addWidget(picture);
    panelLayout->addLayout(text, 1);

    m_startUp = new QCheckBox(ui::tr("&Montrer les astuces au démarrage"));
    m_startUp->setChecked(m_state.startUp == 0);
    auto *buttons = new QDialogButtonBox;
    QPushButton *next = buttons->addButton(ui::tr("&Astuce suivante"), QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(ui::tr("Fermer"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TipsDialog::showNextTip);
    connect(buttons, &QDialogButtonBox::accepted, this, &TipsDialog::accept);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_startUp);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(bottom);

    showNextTip();
}

bool TipsDialog::wantedAtStartUp(const AppContext &context)
{
    return settings::readTipState(context.mainIni).startUp == 0;
}

QString TipsDialog::tipText() const
{
    return m_tip->text();
}

void TipsDialog::showNextTip()
{
    m_tip->setText(toQt(app::readTipOfTheDay(m_tipsFile, m_state).text));
}

void TipsDialog::accept()
{
    m_state.startUp = m_startUp->isChecked() ? 0 : 1;
    QDialog::accept();
}

void TipsDialog::done(int result)
{
    // Closing in any way remembers where the next tip starts.
    settings::writeTipState(m_context.mainIni, m_state);
    QDialog::done(result);
}

} // namespace zorv::ui
