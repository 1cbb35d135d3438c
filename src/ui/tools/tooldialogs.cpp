#include "ui/tools/tooldialogs.h"

#include "common/translation.h"
#include "tools/divetools.h"
#include "ui/common/messages.h"
#include "ui/common/qtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    // Dive numbers are 16-bit and never negative.
    QLineEdit *numberField(int value, QWidget *parent)
    {
        auto *field = new QLineEdit(QString::number(value), parent);
        field->setValidator(new QIntValidator(0, 32767, field));
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
        return field;
    }

    int number(const QLineEdit *field)
    {
        return field->text().trimmed().toInt();
    }

    QDialogButtonBox *okCancel(QDialog *dialog)
    {
        auto *buttons = new QDialogButtonBox(dialog);
        buttons->addButton(ui::tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
        buttons->addButton(ui::tr("Annuler"), QDialogButtonBox::RejectRole);
        QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
        return buttons;
    }

    QString timeText(int minutes)
    {
        return QStringLiteral("%1:%2")
            .arg(minutes / 60, 2, 10, QLatin1Char('0'))
            .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }

    // The first activity set as the edit dialog names it, then the second set and "Autres".
    const char *const kActivityNames[20]
        = { N_("Pl. loisir"), N_("Pl. club"), N_("Éducation"), N_("Instruction"), N_("Pl. de nuit"), N_("Pl. caverne"),
              N_("Pl. sous glace"), N_("Pl. recherche"), N_("Pl. sur épaves"), N_("Pl. rivière"), N_("Pl. courant"),
              N_("Pl. photo"), N_("Pl. travail"), N_("Pl. solo"), N_("Chambre compression"), N_("Pl. séminaire"),
              N_("Pl. examen"), N_("Examen"), N_("Accomp. examen"), N_("Autres") };

} // namespace

DiveNumbersDialog::DiveNumbersDialog(
    const QString &title, const QStringList &labels, const QList<int> &values, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto *form = new QFormLayout;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        QLineEdit *field = numberField(values.value(i), this);
        field->setObjectName(QStringLiteral("number%1").arg(i));
        form->addRow(labels[i], field);
        m_fields.append(field);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
    if (!m_fields.isEmpty()) {
        m_fields.first()->setFocus();
        m_fields.first()->selectAll();
    }
    fitTitle(this);
}

QList<int> DiveNumbersDialog::values() const
{
    QList<int> result;
    for (const QLineEdit *field : m_fields)
        result.append(number(field));
    return result;
}

TimeZoneDialog::TimeZoneDialog(int fromNumber, int toNumber, QWidget *parent)
    : QDialog(parent)
    , m_from(numberField(fromNumber, this))
    , m_to(numberField(toNumber, this))
    , m_difference(new QLineEdit(timeText(0), this))
    , m_plus(new QRadioButton(QStringLiteral("+"), this))
    , m_minus(new QRadioButton(QStringLiteral("-"), this))
{
    setWindowTitle(ui::tr("Fuseau horaire"));
    m_from->setObjectName(QStringLiteral("from"));
    m_to->setObjectName(QStringLiteral("to"));
    m_difference->setObjectName(QStringLiteral("difference"));
    m_difference->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}(:\\d{0,2})?")), m_difference));
    // The field is as wide as the dive numbers above it: a stretch beside it would squeeze "-01:30".
    m_difference->setFixedWidth(m_from->maximumWidth());
    m_plus->setChecked(true);
    auto *signs = new QHBoxLayout;
    signs->addWidget(m_difference);
    signs->addWidget(m_plus);
    signs->addWidget(m_minus);
    signs->addStretch();
    auto *form = new QFormLayout;
    form->addRow(ui::tr("De la plongée:"), m_from);
    form->addRow(ui::tr("À la plongée:"), m_to);
    form->addRow(ui::tr("Diff. temps:"), signs);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
    m_difference->setFocus();
    m_difference->selectAll();
    fitTitle(this);
}

int TimeZoneDialog::fromNumber() const
{
    return number(m_from);
}

int TimeZoneDialog::toNumber() const
{
    return number(m_to);
}

std::optional<int> TimeZoneDialog::minutes() const
{
    const std::optional<int> difference = tools::parseTimeDifference(fromQt(m_difference->text().trimmed()));
    if (!difference)
        return std::nullopt;
    return m_minus->isChecked() ? -*difference : *difference;
}

void TimeZoneDialog::accept()
{
    if (!minutes()) {
        m_difference->setFocus();
        return;
    }
    QDialog::accept();
}

QuickSearchDialog::QuickSearchDialog(
    const std::array<QStringList, 4> &lists, int field, int activity, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_lists(lists)
    , m_fields(new QButtonGroup(this))
    , m_activities(new QButtonGroup(this))
    , m_text(new QComboBox(this))
{
    setWindowTitle(ui::tr("Recherche de plongées"));
    auto *fieldBox = new QGroupBox(ui::tr("Chercher dans"), this);
    auto *fieldLayout = new QHBoxLayout(fieldBox);
    const QString fieldNames[4] = { ui::tr("Lie&u"), ui::tr("Si&te"), ui::tr("&Partenaire"), ui::tr("&Activité") };
    for (int i = 0; i < 4; ++i) {
        auto *button = new QRadioButton(fieldNames[i], fieldBox);
        m_fields->addButton(button, i);
        fieldLayout->addWidget(button);
    }
    m_text->setEditable(true);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setInsertPolicy(QComboBox::NoInsert);
    m_text->setMinimumContentsLength(30);

    auto *activityBox = new QGroupBox(ui::tr("Activités"), this);
    auto *activityGrid = new QGridLayout(activityBox);
    for (int i = 0; i < 20; ++i) {
        // One activity at a time: the boxes behave like radio buttons.
        auto *box = new QCheckBox(ui::tr(kActivityNames[i]), activityBox);
        m_activities->addButton(box, i);
        const int column = i < 12 ? i % 2 : 2 + (i - 12) % 2;
        const int row = i < 12 ? i / 2 : (i - 12) / 2;
        activityGrid->addWidget(box, row, column);
    }
    m_activities->setExclusive(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fieldBox);
    auto *textRow = new QHBoxLayout;
    auto *textLabel = new QLabel(ui::tr("Te&xte:"), this);
    textLabel->setBuddy(m_text);
    textRow->addWidget(textLabel);
    textRow->addWidget(m_text, 1);
    layout->addLayout(textRow);
    layout->addWidget(activityBox);
    layout->addWidget(okCancel(this));

    m_fields->button(field >= 0 && field <= 3 ? field : 0)->setChecked(true);
    m_activities->button(activity >= 0 && activity < 20 ? activity : 0)->setChecked(true);
    follow();
    m_text->setEditText(text);
    connect(m_fields, &QButtonGroup::idClicked, this, [this] {
        const QString typed = m_text->currentText();
        follow();
        m_text->setEditText(typed);
    });
    connect(m_activities, &QButtonGroup::idClicked, this, &QuickSearchDialog::follow);
    m_text->setFocus();
    fitTitle(this);
}

void QuickSearchDialog::follow()
{
    const int f = field();
    const bool activityChosen = f == 3;
    for (QAbstractButton *box : m_activities->buttons())
        box->setEnabled(activityChosen);
    // The text only means something for a field, or for the free "Autres" activity.
    const bool textUsed = !activityChosen || activity() == 19;
    m_text->setEnabled(textUsed);
    const QString typed = m_text->currentText();
    m_text->clear();
    m_text->addItems(m_lists[static_cast<std::size_t>(f)]);
    m_text->setEditText(typed);
}

int QuickSearchDialog::field() const
{
    return m_fields->checkedId() < 0 ? 0 : m_fields->checkedId();
}

int QuickSearchDialog::activity() const
{
    return m_activities->checkedId() < 0 ? 0 : m_activities->checkedId();
}

QString QuickSearchDialog::text() const
{
    return m_text->currentText();
}

ReplaceDialog::ReplaceDialog(QWidget *parent)
    : QDialog(parent)
    , m_fields(new QButtonGroup(this))
    , m_old(new QLineEdit(this))
    , m_new(new QLineEdit(this))
    , m_list(new QListWidget(this))
    , m_find(new QPushButton(ui::tr("C&hercher"), this))
    , m_replace(new QPushButton(ui::tr("&Remplacer"), this))
{
    setWindowTitle(ui::tr("Chercher et remplacer"));
    auto *fieldBox = new QGroupBox(ui::tr("Champ"), this);
    auto *fieldLayout = new QHBoxLayout(fieldBox);
    const QString names[5] = { ui::tr("&Lieu"), ui::tr("S&ite"), ui::tr("Acc&ompagnateur"), ui::tr("&Commentaire"),
        ui::tr("Combi-&modèle") };
    for (int i = 0; i < 5; ++i) {
        auto *button = new QRadioButton(names[i], fieldBox);
        m_fields->addButton(button, i);
        fieldLayout->addWidget(button);
    }
    m_fields->button(0)->setChecked(true);
    m_old->setObjectName(QStringLiteral("find"));
    m_new->setObjectName(QStringLiteral("replacement"));
    auto *form = new QFormLayout;
    form->addRow(ui::tr("Chercher:"), m_old);
    form->addRow(ui::tr("Remplacer par:"), m_new);
    m_list->setMinimumSize(460, 200);
    m_replace->setEnabled(false);
    m_find->setDefault(true);

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(m_find, QDialogButtonBox::ActionRole);
    buttons->addButton(m_replace, QDialogButtonBox::ActionRole);
    buttons->addButton(ui::tr("Fermer"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_find, &QPushButton::clicked, this, &ReplaceDialog::findRequested);
    connect(m_replace, &QPushButton::clicked, this, &ReplaceDialog::replaceRequested);
    // A changed choice makes the list stale: it must be looked up again before replacing.
    const auto stale = [this] { m_replace->setEnabled(false); };
    connect(m_fields, &QButtonGroup::idClicked, this, stale);
    connect(m_old, &QLineEdit::textEdited, this, stale);
    connect(m_new, &QLineEdit::textEdited, this, stale);

    auto *left = new QVBoxLayout;
    left->addWidget(fieldBox);
    left->addLayout(form);
    left->addWidget(m_list, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    m_old->setFocus();
    fitTitle(this);
}

int ReplaceDialog::field() const
{
    return m_fields->checkedId() < 0 ? 0 : m_fields->checkedId();
}

QString ReplaceDialog::findText() const
{
    return m_old->text();
}

QString ReplaceDialog::replacementText() const
{
    return m_new->text();
}

void ReplaceDialog::showFound(const QStringList &lines)
{
    m_list->clear();
    m_list->addItems(lines);
    m_replace->setEnabled(!lines.isEmpty());
}

void ReplaceDialog::replaced()
{
    m_replace->setEnabled(false);
}

} // namespace zorv::ui
