#include "ui/app/noticedialog.h"

#include "app/notices.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zorv::ui {

NoticeDialog::NoticeDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setWindowTitle(ui::tr(app::kNoticeTitle));
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto *text = new QLabel(toQt(app::compatibilityNotice()), this);
    text->setObjectName(QStringLiteral("notice"));
    text->setWordWrap(true);
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 60);
    m_startUp = new QCheckBox(ui::tr(app::kNoticeShowAtStartUp), this);
    m_startUp->setChecked(context.settings.compatibilityNotice);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &NoticeDialog::accept);

    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_startUp);
    layout->addWidget(buttons);
}

void NoticeDialog::accept()
{
    m_context.settings.compatibilityNotice = m_startUp->isChecked();
    QDialog::accept();
}

} // namespace zorv::ui
