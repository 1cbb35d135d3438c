#include "ui/transfer/computertypedialogs.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "settings/settings.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/common/rowlist.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using computers::ComputerType;
    using computers::Gas;

    // A titled group of radio buttons whose ids are the stored values.
    QGroupBox *radioGroup(const QString &title, const QStringList &labels, const QString &name, int checked,
        QButtonGroup *&group, QWidget *parent)
    {
        auto *box = new QGroupBox(title, parent);
        box->setObjectName(name);
        auto *layout = new QHBoxLayout(box);
        group = new QButtonGroup(box);
        for (int i = 0; i < labels.size(); ++i) {
            auto *button = new QRadioButton(labels[i], box);
            button->setObjectName(name + QString::number(i));
            group->addButton(button, i);
            layout->addWidget(button);
        }
        layout->addStretch(1);
        if (QAbstractButton *button = group->button(checked))
            button->setChecked(true);
        return box;
    }

    QPushButton *button(const QString &text, const QString &name, QWidget *parent)
    {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    }

} // namespace

ComputerTypeDataDialog::ComputerTypeDataDialog(const computers::ComputerType &entry, QWidget *parent)
    : QDialog(parent)
    , m_form(entry)
{
    setObjectName(QStringLiteral("computerTypeData"));
    setWindowTitle(ui::tr("Description de l'ordinateur"));

    m_name = new QLineEdit(toQt(entry.name), this);
    m_name->setObjectName(QStringLiteral("name"));
    // The name was a fixed buffer; refusing more at the keyboard beats cutting it silently later.
    m_name->setMaxLength(static_cast<int>(computers::kMaxComputerNameLength));
    m_name->setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    m_typeId = new QLineEdit(entry.typeId == 0 ? QString() : QString::number(entry.typeId), this);
    m_typeId->setObjectName(QStringLiteral("typeId"));
    m_typeId->setMaxLength(3);
    m_typeId->setMaximumWidth(m_typeId->fontMetrics().horizontalAdvance(QStringLiteral("8888")) + 16);

    m_gasBox = radioGroup(ui::tr("Gaz:"), { ui::tr("&Air"), ui::tr("Nitro&x"), ui::tr("&O2") }, QStringLiteral("gas"),
        static_cast<int>(entry.gas), m_gas, this);
    m_airBox = radioGroup(ui::tr("Air intégré:"), { ui::tr("N&on"), ui::tr("&Oui") }, QStringLiteral("air"),
        entry.airIntegrated ? 1 : 0, m_air, this);
    m_importBox = radioGroup(ui::tr("Import:"), { ui::tr("&Non"), ui::tr("Ou&i") }, QStringLiteral("import"),
        entry.imported ? 1 : 0, m_import, this);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(ui::tr("Nom:"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(new QLabel(ui::tr("Marque:"), this), 1, 0);
    grid->addWidget(m_typeId, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("(1...255)"), this), 1, 2);
    grid->setColumnStretch(2, 1);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(ui::tr("Annuler"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_gasBox);
    layout->addWidget(m_airBox);
    layout->addWidget(m_importBox);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_typeId, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_form.setTypeIdText(fromQt(text));
        updateEnabling();
    });
    updateEnabling();
}

void ComputerTypeDataDialog::updateEnabling()
{
    m_typeId->setEnabled(m_form.typeIdEditable());
    m_gasBox->setEnabled(m_form.flagsEditable());
    m_airBox->setEnabled(m_form.flagsEditable());
    m_importBox->setEnabled(m_form.importEditable());
}

computers::ComputerType ComputerTypeDataDialog::result() const
{
    m_form.name = fromQt(m_name->text());
    m_form.gas = static_cast<computers::Gas>(std::max(m_gas->checkedId(), 0));
    m_form.airIntegrated = m_air->checkedId() == 1;
    m_form.imported = m_import->checkedId() == 1;
    return m_form.result();
}

ComputerTypesDialog::ComputerTypesDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_list(context.catalogue)
{
    setObjectName(QStringLiteral("computerTypes"));
    setWindowTitle(ui::tr("Types d'ordinateurs"));

    m_view = rowList(QStringLiteral("typeList"), transfer::computerTypeColumnTitles(), this);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    int total = 0;
    for (int c = 0; c < transfer::kComputerTypeColumnCount; ++c) {
        const int saved = context.settings.columnWidth(settings::ColumnList::ComputerTypes, c);
        int width = transfer::computerTypeColumnWidth(c, saved);
        // A title wider than its old column would be cut in today's fonts.
        if (saved <= 10)
            width = std::max(width, m_view->fontMetrics().horizontalAdvance(m_view->headerItem()->text(c)) + 20);
        m_view->setColumnWidth(c, width);
        if (transfer::computerTypeColumnRightAligned(c))
            m_view->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        total += width;
    }
    m_view->setMinimumSize(total + 24, 300);

    m_edit = button(ui::tr("&Modifier"), QStringLiteral("edit"), this);
    m_delete = button(ui::tr("E&ffacer"), QStringLiteral("delete"), this);
    m_new = button(ui::tr("&Nouveau"), QStringLiteral("new"), this);
    auto *ok = new QPushButton(ui::tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto *cancel = button(ui::tr("Annuler"), QStringLiteral("cancel"), this);

    connect(m_edit, &QPushButton::clicked, this, &ComputerTypesDialog::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &ComputerTypesDialog::deleteSelected);
    connect(m_new, &QPushButton::clicked, this, &ComputerTypesDialog::addNew);
    connect(ok, &QPushButton::clicked, this, &ComputerTypesDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ComputerTypesDialog::reject);
    connect(m_view, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        m_list.select(item ? m_view->indexOfTopLevelItem(item) : -1);
        updateButtons();
    });
    connect(m_view, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        m_list.select(m_view->indexOfTopLevelItem(item));
        editSelected();
    });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QTreeWidgetItem *item = m_view->itemAt(pos);
        if (!item)
            return;
        m_view->setCurrentItem(item);
        QMenu *menu = rowMenu(m_view->indexOfTopLevelItem(item));
        menu->exec(m_view->viewport()->mapToGlobal(pos));
        delete menu;
    });

    auto *side = new QVBoxLayout;
    side->addWidget(m_edit);
    side->addWidget(m_delete);
    side->addWidget(m_new);
    side->addStretch(1);
    side->addWidget(ok);
    side->addWidget(cancel);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(side);

    refill();
}

ComputerTypesDialog::~ComputerTypesDialog()
{
    // Widths are kept even when the dialog was cancelled: they are the user's layout, not data.
    for (int c = 0; c < transfer::kComputerTypeColumnCount; ++c)
        m_context.settings.setColumnWidth(settings::ColumnList::ComputerTypes, c, m_view->columnWidth(c));
}

QMenu *ComputerTypesDialog::rowMenu(int row)
{
    auto *menu = new QMenu(this);
    if (row < 0 || row >= m_list.count())
        return menu;
    const computers::ComputerType &entry = m_list.entries()[static_cast<std::size_t>(row)];
    QAction *edit = menu->addAction(ui::tr("&Modifier"), this, &ComputerTypesDialog::editSelected);
    edit->setEnabled(transfer::ComputerTypeList::editableRow(entry));
    menu->addAction(ui::tr("&Nouveau"), this, &ComputerTypesDialog::addNew);
    QAction *remove = menu->addAction(ui::tr("&Effacer"), this, &ComputerTypesDialog::deleteSelected);
    remove->setEnabled(transfer::ComputerTypeList::deletableRow(entry));
    return menu;
}

void ComputerTypesDialog::editSelected()
{
    if (!m_list.canEdit())
        return;
    ComputerTypeDataDialog form(m_list.entries()[static_cast<std::size_t>(m_list.selection())], this);
    if (prompter().exec(form) == QDialog::Accepted && m_list.applyEdit(form.result()))
        refill();
    else
        showSelection();
}

void ComputerTypesDialog::deleteSelected()
{
    if (!m_list.canDelete())
        return;
    const std::string &name = m_list.entries()[static_cast<std::size_t>(m_list.selection())].name;
    const QString question
        = toQt(common::cformat(std::string(common::str(StringId::AskDeleteNamed)).c_str(), name.c_str()));
    if (!askYesNo(this, question))
        return;
    m_list.removeSelected();
    refill();
}

void ComputerTypesDialog::addNew()
{
    ComputerTypeDataDialog form(computers::ComputerType {}, this);
    if (prompter().exec(form) == QDialog::Accepted && m_list.addNew(form.result()))
        refill();
    else
        showSelection();
}

void ComputerTypesDialog::accept()
{
    m_list.commit(m_context.catalogue);
    QDialog::accept();
}

void ComputerTypesDialog::refill()
{
    const int selection = m_list.selection();
    QSignalBlocker blocker(m_view);
    m_view->clear();
    QList<QTreeWidgetItem *> items;
    for (const computers::ComputerType &entry : m_list.entries()) {
        const auto row = transfer::computerTypeRow(entry);
        auto *item = new QTreeWidgetItem;
        for (int c = 0; c < transfer::kComputerTypeColumnCount; ++c) {
            item->setText(c, toQt(row[static_cast<std::size_t>(c)]));
            if (transfer::computerTypeColumnRightAligned(c))
                item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
        items << item;
    }
    m_view->addTopLevelItems(items);
    m_list.select(selection);
    showSelection();
}

void ComputerTypesDialog::showSelection()
{
    QSignalBlocker blocker(m_view);
    if (QTreeWidgetItem *item = m_view->topLevelItem(m_list.selection())) {
        m_view->setCurrentItem(item);
        m_view->scrollToItem(item);
    }
    updateButtons();
}

void ComputerTypesDialog::updateButtons()
{
    m_edit->setEnabled(m_list.canEdit());
    m_delete->setEnabled(m_list.canDelete());
}

bool showComputerTypesDialog(AppContext &context, QWidget *parent)
{
    ComputerTypesDialog dialog(context, parent);
    return prompter().exec(dialog) == QDialog::Accepted && dialog.list().modified();
}

QDialog *createKnownComputersDialog(QWidget *parent)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("knownComputers"));
    dialog->setWindowTitle(ui::tr("Type d'ordinateur"));

    auto *text
        = new QLabel(ui::tr("Zorv lit les ordinateurs de plongée ci-dessous par le câble série, et importe les "
                            "plongées des montres Citizen et Mares Guardian par leurs fichiers.\n\n"
                            "Votre ordinateur manque ou ses plongées sont mal lues ? Activez « Débogage » dans les "
                            "options, lisez l'ordinateur et envoyez-nous le fichier « zvtrdat~.dp~ » qui se "
                            "trouve à côté de votre carnet."),
            dialog);
    text->setWordWrap(true);
    text->setMinimumWidth(360);

    struct Brand {
        const char *name;
        QStringList models;
    };
    const Brand brands[] = {
        { "Aladin",
            { QStringLiteral("Sport"), QStringLiteral("Sport Plus"), QStringLiteral("Pro"), QStringLiteral("Pro Ultra"),
                QStringLiteral("Pro Nitrox"), QStringLiteral("Air"), QStringLiteral("Air X"), QStringLiteral("Air Z"),
                QStringLiteral("Air X Nitrox"), QStringLiteral("Air Z Nitrox"), QStringLiteral("Air X O2"),
                QStringLiteral("Air Z O2") } },
        { "Spiro", { QStringLiteral("Monitor 2 Plus"), QStringLiteral("Monitor 3 Air") } },
        { "Mares", { QStringLiteral("Genius"), QStringLiteral("Guardian") } },
        { "Citizen", { QStringLiteral("Hyper Aqualand"), QStringLiteral("ProMaster") } },
    };
    auto *tree = new QTreeWidget(dialog);
    tree->setObjectName(QStringLiteral("computerTree"));
    tree->setHeaderHidden(true);
    for (const Brand &brand : brands) {
        auto *node = new QTreeWidgetItem(tree, QStringList { QString::fromLatin1(brand.name) });
        for (const QString &model : brand.models)
            new QTreeWidgetItem(node, QStringList { model });
    }
    tree->expandAll();
    tree->setMinimumHeight(tree->sizeHintForRow(0) * 24);

    auto *buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ui::tr("OK"), QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);

    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(text);
    layout->addWidget(tree, 1);
    layout->addWidget(buttons);
    return dialog;
}

void showKnownComputersDialog(QWidget *parent)
{
    QDialog *dialog = createKnownComputersDialog(parent);
    prompter().exec(*dialog);
    delete dialog;
}

} // namespace zorv::ui
