#include "ui/settings/optionsdialogs.h"

#include "logbook/names.h"
#include "logbook/suggestionlists.h"
#include "serial/qtseriallink.h"
#include "settings/options.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>
#include <memory>

namespace zorv::ui {

namespace {

    using logbook::UnitSystem;

    constexpr int kModelLength = 25;

    QDialogButtonBox *okCancelButtons(QDialog *dialog)
    {
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
        buttons->button(QDialogButtonBox::Ok)->setText(ui::tr("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
        QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
        return buttons;
    }

    QFrame *separator(QWidget *parent)
    {
        auto *line = new QFrame(parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    }

    QLineEdit *lineEdit(const QString &name, const std::string &text, QWidget *parent)
    {
        auto *edit = new QLineEdit(toQt(text), parent);
        edit->setObjectName(name);
        return edit;
    }

    // Puts the chosen program's path into the edit field.
    void browseForProgram(QLineEdit *edit, const char *filter, QWidget *parent)
    {
        QStringList names;
        for (const std::string &name : settings::fileDialogNameFilters(filter))
            names << toQt(name);
        const QString current = edit->text();
        const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
        // Programs on Linux carry no ".exe": offer every file first, keep the others for who wants them.
        QString selected = names.isEmpty() ? QString() : names.first();
        for (const QString &name : names)
            if (name.endsWith(QStringLiteral("(*)")))
                selected = name;
        FileRequest request;
        request.parent = parent;
        request.directory = start;
        request.filter = names.join(QStringLiteral(";;"));
        request.selectedFilter = selected;
        request.native = true;
        const QString chosen = chooseFile(request);
        if (!chosen.isEmpty())
            edit->setText(chosen);
    }

    // The dive type groups of the defaults dialog: three radio buttons each, the
    // third meaning neither bit.
    class TypeGroup {
    public:
        TypeGroup(const QString &name, const QString &first, const QString &second, const QString &neither,
            settings::TypeChoice choice, QWidget *parent)
            : m_box(new QGroupBox(parent))
            , m_buttons(new QButtonGroup(m_box))
        {
            m_box->setObjectName(name);
            auto *layout = new QVBoxLayout(m_box);
            const QString texts[] = { first, second, neither };
            for (int i = 0; i < 3; ++i) {
                auto *button = new QRadioButton(texts[i], m_box);
                button->setObjectName(name + QString::number(i));
                m_buttons->addButton(button, i);
                layout->addWidget(button);
            }
            m_buttons->button(static_cast<int>(choice))->setChecked(true);
        }

        QGroupBox *box() const { return m_box; }
        settings::TypeChoice choice() const { return static_cast<settings::TypeChoice>(m_buttons->checkedId()); }

    private:
        QGroupBox *m_box;
        QButtonGroup *m_buttons;
    };

    class DataFieldsDialog : public QDialog {
    public:
        DataFieldsDialog(const std::array<bool, 25> &fields, QWidget *parent)
            : QDialog(parent)
        {
            setObjectName(QStringLiteral("dataFieldsDialog"));
            setWindowTitle(ui::tr("Champs de données, fenêtre principale"));
            auto *layout = new QVBoxLayout(this);
            auto *grid = new QGridLayout;
            grid->setHorizontalSpacing(24);
            constexpr int kRows = (settings::kDataFieldCount + 2) / 3;
            for (int i = 0; i < settings::kDataFieldCount; ++i) {
                auto *box = new QCheckBox(toQt(settings::dataFieldLabel(i)), this);
                box->setObjectName(QStringLiteral("field%1").arg(i));
                box->setChecked(fields[static_cast<std::size_t>(i)]);
                grid->addWidget(box, i % kRows, i / kRows);
                m_boxes[static_cast<std::size_t>(i)] = box;
            }
            layout->addLayout(grid);
            layout->addSpacing(8);
            layout->addWidget(okCancelButtons(this));
        }

        std::array<bool, 25> fields() const
        {
            std::array<bool, 25> fields {};
            for (std::size_t i = 0; i < fields.size(); ++i)
                fields[i] = m_boxes[i]->isChecked();
            return fields;
        }

    private:
        std::array<QCheckBox *, 25> m_boxes {};
    };

    class NewDiveDefaultsDialog : public QDialog {
    public:
        NewDiveDefaultsDialog(const AppContext &context, QWidget *parent)
            : QDialog(parent)
            , m_units(context.settings.unitSystem)
        {
            setObjectName(QStringLiteral("newDiveDefaultsDialog"));
            setWindowTitle(ui::tr("Données pour nouvelle plongée"));
            const settings::NewDiveDefaultsForm form
                = settings::newDiveDefaultsForm(context.settings.newDiveDefaults, m_units);
            const bool metric = m_units == UnitSystem::Metric;

            m_use = new QCheckBox(ui::tr("&Utiliser ces données"), this);
            m_use->setObjectName(QStringLiteral("use"));
            m_use->setChecked(form.use);

            m_altitude = new QComboBox(this);
            m_altitude->setObjectName(QStringLiteral("altitudeClass"));
            for (const std::string &entry : settings::altitudeClassEntries(m_units))
                m_altitude->addItem(toQt(entry));
            m_altitude->setCurrentIndex(form.altitudeClass);

            m_suit = new QComboBox(this);
            m_suit->setObjectName(QStringLiteral("suit"));
            for (int i = 0; i < logbook::names::kSuitCount; ++i)
                m_suit->addItem(toQt(logbook::names::suit(i)));
            m_suit->setCurrentIndex(form.suit);

            const logbook::SuggestionLists lists(context.logbook);
            m_model = editableCombo(QStringLiteral("model"), lists.list(logbook::ListId::SuitModels), form.model);
            m_model->lineEdit()->setMaxLength(kModelLength);

            m_tankVolume = editableCombo(
                QStringLiteral("tankVolume"), lists.list(logbook::ListId::TankVolumes), form.tankVolume);

            m_tankMaterial = new QComboBox(this);
            m_tankMaterial->setObjectName(QStringLiteral("tankMaterial"));
            for (int i = 0; i < logbook::names::kTankMaterialCount; ++i)
                m_tankMaterial->addItem(toQt(logbook::names::tankMaterial(i)));
            m_tankMaterial->setCurrentIndex(form.tankMaterial);

            m_weights = lineEdit(QStringLiteral("weights"), form.weights, this);

            // A unit column beside every field keeps all right edges in line.
            auto *fields = new QGridLayout;
            fields->setColumnStretch(1, 1);
            addRow(fields, ui::tr("Niveau d'altitude:"), m_altitude);
            addRow(fields, ui::tr("Combinaison:"), m_suit);
            addRow(fields, ui::tr("Combi.-modèle:"), m_model);
            addRow(fields, ui::tr("Cont. bouteille:"), m_tankVolume,
                qstr(metric ? StringId::UnitLitres : StringId::UnitCubicFeet));
            addRow(fields, ui::tr("Mat. bouteille:"), m_tankMaterial);
            addRow(fields, ui::tr("Plombs:"), m_weights, qstr(metric ? StringId::UnitKilograms : StringId::UnitPounds));

            const QString none = QStringLiteral("-");
            m_decompression = std::make_unique<TypeGroup>(QStringLiteral("decompression"),
                qstr(StringId::DiveTypeNoDeco), qstr(StringId::DiveTypeDeco), none, form.diveTypes.decompression, this);
            m_ascent = std::make_unique<TypeGroup>(QStringLiteral("ascent"), qstr(StringId::DiveTypeSingleAscent),
                qstr(StringId::DiveTypeMultipleAscents), none, form.diveTypes.ascent, this);
            m_water = std::make_unique<TypeGroup>(QStringLiteral("water"), qstr(StringId::DiveTypeFreshWater),
                qstr(StringId::DiveTypeSeaWater), qstr(StringId::ChamberRun), form.diveTypes.water, this);
            auto *types = new QHBoxLayout;
            types->addWidget(m_decompression->box());
            types->addWidget(m_ascent->box());
            types->addWidget(m_water->box());

            auto *layout = new QVBoxLayout(this);
            layout->addWidget(m_use);
            layout->addSpacing(4);
            layout->addLayout(fields);
            layout->addSpacing(4);
            layout->addLayout(types);
            layout->addSpacing(8);
            layout->addWidget(okCancelButtons(this));
            layout->setSizeConstraint(QLayout::SetFixedSize);
        }

        settings::NewDiveDefaultsForm form() const
        {
            settings::NewDiveDefaultsForm form;
            form.use = m_use->isChecked();
            form.altitudeClass = m_altitude->currentIndex();
            form.suit = m_suit->currentIndex();
            form.model = fromQt(m_model->currentText());
            form.tankVolume = fromQt(m_tankVolume->currentText());
            form.tankMaterial = m_tankMaterial->currentIndex();
            form.weights = fromQt(m_weights->text());
            form.diveTypes = { m_decompression->choice(), m_ascent->choice(), m_water->choice() };
            return form;
        }

        UnitSystem units() const { return m_units; }

        // Junk typed in the tank volume or the weights is refused naming the field; the dialog stays open.
        void accept() override
        {
            if (const common::Result checked = settings::checkNewDiveDefaultsForm(form(), m_units); !checked) {
                showWarning(this, toQt(checked.message()));
                return;
            }
            QDialog::accept();
        }

    private:
        QComboBox *editableCombo(const QString &name, const logbook::ValueList &offers, const std::string &text)
        {
            auto *combo = new QComboBox(this);
            combo->setObjectName(name);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            for (int i = 0; i < offers.count(); ++i)
                combo->addItem(toQt(offers.get(i)));
            combo->setEditText(toQt(text));
            return combo;
        }

        void addRow(QGridLayout *grid, const QString &label, QWidget *field, const QString &unit = {})
        {
            const int row = grid->rowCount();
            auto *title = new QLabel(label, this);
            title->setBuddy(field);
            grid->addWidget(title, row, 0);
            grid->addWidget(field, row, 1);
            if (!unit.isEmpty())
                grid->addWidget(new QLabel(unit, this), row, 2);
        }

        UnitSystem m_units;
        QCheckBox *m_use = nullptr;
        QComboBox *m_altitude = nullptr;
        QComboBox *m_suit = nullptr;
        QComboBox *m_model = nullptr;
        QComboBox *m_tankVolume = nullptr;
        QComboBox *m_tankMaterial = nullptr;
        QLineEdit *m_weights = nullptr;
        std::unique_ptr<TypeGroup> m_decompression;
        std::unique_ptr<TypeGroup> m_ascent;
        std::unique_ptr<TypeGroup> m_water;
    };

    class OptionsDialog : public QDialog {
    public:
        OptionsDialog(AppContext &context, QWidget *parent)
            : QDialog(parent)
            , m_context(context)
        {
            setObjectName(QStringLiteral("optionsDialog"));
            setWindowTitle(ui::tr("Données"));
            const settings::OptionsForm form = settings::optionsForm(context.settings);

            m_imperial = new QRadioButton(ui::tr("&Impérial"), this);
            m_imperial->setObjectName(QStringLiteral("imperial"));
            m_metric = new QRadioButton(ui::tr("&Métrique"), this);
            m_metric->setObjectName(QStringLiteral("metric"));
            (form.units == UnitSystem::Metric ? m_metric : m_imperial)->setChecked(true);
            m_currency = lineEdit(QStringLiteral("currency"), form.currency, this);
            m_currency->setMaximumWidth(m_currency->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 8);

            m_advanced = new QCheckBox(ui::tr("Mode a&vancé"), this);
            m_advanced->setObjectName(QStringLiteral("advanced"));
            m_advanced->setChecked(form.advancedMode);
            m_remember = new QCheckBox(ui::tr("Mémoriser la &position des fenêtres"), this);
            m_remember->setObjectName(QStringLiteral("rememberWindows"));
            m_remember->setChecked(form.rememberWindows);

            m_browser = lineEdit(QStringLiteral("browser"), form.browserFile, this);
            m_application = lineEdit(QStringLiteral("application"), form.externalAppFile, this);
            m_menuText = lineEdit(QStringLiteral("menuText"), form.externalAppMenuText, this);
            m_browser->setMinimumWidth(m_browser->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);

            m_port = new QSpinBox(this);
            m_port->setObjectName(QStringLiteral("comPort"));
            // A port we cannot use is never shown, so the previous one stays.
            m_port->setRange(settings::kFirstComPort, settings::kLastComPort);
            m_port->setMinimumWidth(m_port->fontMetrics().horizontalAdvance(QStringLiteral("888")) + 36);
            m_port->setValue(settings::acceptComPort(form.comPort, settings::kFirstComPort));
            // The ports found now, and whatever path was set before even when its adapter is unplugged.
            m_device = new QComboBox(this);
            m_device->setObjectName(QStringLiteral("serialPort"));
            m_device->setEditable(true);
            m_device->addItem(QString());
            for (const serial::SerialPortEntry &port : serial::availableSerialPorts())
                m_device->addItem(port.path, port.description);
            m_device->setCurrentText(toQt(context.settings.serialPort));
            m_device->setMinimumWidth(m_device->fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB00")) + 40);
            m_device->setToolTip(ui::tr("Vide : le port série par défaut"));
            m_dump = new QCheckBox(ui::tr("Débogage"), this);
            m_dump->setObjectName(QStringLiteral("dump"));
            m_dump->setChecked(form.dumpMemory);

            auto *grid = new QGridLayout;
            grid->setColumnStretch(1, 1);
            int row = 0;
            auto *units = new QHBoxLayout;
            units->addWidget(m_imperial);
            units->addWidget(m_metric);
            units->addStretch(1);
            units->addWidget(new QLabel(ui::tr("Devise"), this));
            units->addWidget(m_currency);
            grid->addLayout(units, row++, 0, 1, 3);
            auto *checks = new QHBoxLayout;
            checks->addWidget(m_advanced);
            checks->addWidget(m_remember);
            checks->addStretch(1);
            grid->addLayout(checks, row++, 0, 1, 3);
            grid->addWidget(separator(this), row++, 0, 1, 3);

            grid->addWidget(new QLabel(ui::tr("Navigateur web:"), this), row, 0);
            grid->addWidget(m_browser, row, 1);
            grid->addWidget(
                browseButton(QStringLiteral("browseBrowser"), m_browser, common::tr(settings::kBrowserFileFilter)),
                row++, 2);
            grid->addWidget(new QLabel(ui::tr("Application externe:"), this), row, 0);
            grid->addWidget(m_application, row, 1);
            grid->addWidget(browseButton(QStringLiteral("browseApplication"), m_application,
                                common::tr(settings::kExternalAppFileFilter)),
                row++, 2);
            grid->addWidget(new QLabel(ui::tr("Texte du menu:"), this), row, 0);
            grid->addWidget(m_menuText, row++, 1);
            grid->addWidget(separator(this), row++, 0, 1, 3);

            auto *transfer = new QHBoxLayout;
            auto *portLabel = new QLabel(ui::tr("Com"), this);
            portLabel->setBuddy(m_port);
            transfer->addWidget(portLabel);
            transfer->addWidget(m_port);
            transfer->addWidget(m_device);
            transfer->addSpacing(16);
            transfer->addWidget(m_dump);
            transfer->addStretch(1);
            grid->addLayout(transfer, row++, 0, 1, 3);

            auto *fieldsButton = new QPushButton(ui::tr("&Champs de données"), this);
            fieldsButton->setObjectName(QStringLiteral("dataFields"));
            fieldsButton->setAutoDefault(false);
            connect(fieldsButton, &QPushButton::clicked, this, [this] {
                if (showDataFieldsDialog(m_context, this))
                    m_subDialogChanged = true;
            });
            auto *defaultsButton = new QPushButton(ui::tr("Par défaut"), this);
            defaultsButton->setObjectName(QStringLiteral("defaults"));
            defaultsButton->setAutoDefault(false);
            connect(defaultsButton, &QPushButton::clicked, this, [this] {
                if (showNewDiveDefaultsDialog(m_context, this))
                    m_subDialogChanged = true;
            });
            auto *bottom = new QHBoxLayout;
            bottom->addWidget(fieldsButton);
            bottom->addWidget(defaultsButton);
            bottom->addStretch(1);
            bottom->addWidget(okCancelButtons(this));

            auto *layout = new QVBoxLayout(this);
            layout->addLayout(grid);
            layout->addSpacing(8);
            layout->addLayout(bottom);
            layout->setSizeConstraint(QLayout::SetFixedSize);
        }

        settings::OptionsForm form() const
        {
            settings::OptionsForm form;
            form.units = m_metric->isChecked() ? UnitSystem::Metric : UnitSystem::Imperial;
            form.currency = fromQt(m_currency->text());
            form.advancedMode = m_advanced->isChecked();
            form.rememberWindows = m_remember->isChecked();
            form.browserFile = fromQt(m_browser->text());
            form.externalAppFile = fromQt(m_application->text());
            form.externalAppMenuText = fromQt(m_menuText->text());
            form.comPort = m_port->value();
            form.dumpMemory = m_dump->isChecked();
            return form;
        }

        bool subDialogChanged() const { return m_subDialogChanged; }
        std::string serialPort() const { return fromQt(m_device->currentText().trimmed()); }

    private:
        QPushButton *browseButton(const QString &name, QLineEdit *edit, const char *filter)
        {
            auto *button = new QPushButton(ui::tr("Rechercher"), this);
            button->setObjectName(name);
            button->setAutoDefault(false);
            connect(
                button, &QPushButton::clicked, this, [this, edit, filter] { browseForProgram(edit, filter, this); });
            return button;
        }

        AppContext &m_context;
        QRadioButton *m_imperial = nullptr;
        QRadioButton *m_metric = nullptr;
        QLineEdit *m_currency = nullptr;
        QCheckBox *m_advanced = nullptr;
        QCheckBox *m_remember = nullptr;
        QLineEdit *m_browser = nullptr;
        QLineEdit *m_application = nullptr;
        QLineEdit *m_menuText = nullptr;
        QSpinBox *m_port = nullptr;
        QComboBox *m_device = nullptr;
        QCheckBox *m_dump = nullptr;
        bool m_subDialogChanged = false;
    };

} // namespace

bool showOptionsDialog(AppContext &context, QWidget *parent)
{
    OptionsDialog dialog(context, parent);
    const bool confirmed = prompter().exec(dialog) == QDialog::Accepted;
    if (confirmed) {
        settings::applyOptionsForm(dialog.form(), context.settings);
        context.settings.serialPort = dialog.serialPort();
    }
    // Also after Cancel: the defaults may have changed in the dialog opened from here.
    // A change of units refills the logbook's tank volumes in the new units.
    context.applySettingsToLogbook();
    return confirmed || dialog.subDialogChanged();
}

bool showDataFieldsDialog(AppContext &context, QWidget *parent)
{
    DataFieldsDialog dialog(context.settings.dataFields, parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    context.settings.dataFields = dialog.fields();
    return true;
}

bool showNewDiveDefaultsDialog(AppContext &context, QWidget *parent)
{
    NewDiveDefaultsDialog dialog(context, parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    context.settings.newDiveDefaults
        = settings::newDiveDefaults(dialog.form(), dialog.units(), context.settings.newDiveDefaults);
    context.applySettingsToLogbook();
    return true;
}

} // namespace zorv::ui
