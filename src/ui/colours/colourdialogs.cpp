#include "ui/colours/colourdialogs.h"

#include "profile/colourpreviews.h"
#include "profile/nodecocurves.h"
#include "qtglue/qcolour.h"
#include "settings/colourfile.h"
#include "ui/colours/colourpicker.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

namespace zorv::ui {

namespace {

    // The roles last chosen in each dialog, for the rest of the run.
    int s_profileRole = 0;
    int s_noDecoRole = 0;
    int s_statisticsRole = 0;

    template <typename Set> std::vector<canvas::Rgb> toVector(const Set &set)
    {
        return { set.colours.begin(), set.colours.end() };
    }

    template <typename Set> Set fromVector(const std::vector<canvas::Rgb> &colours)
    {
        Set set;
        for (std::size_t i = 0; i < set.size() && i < colours.size(); ++i)
            set.colours[i] = colours[i];
        return set;
    }

    // A patch of one colour with a thin frame, so that a pale colour still shows its edge.
    class Swatch : public QWidget {
    public:
        explicit Swatch(QWidget *parent)
            : QWidget(parent)
        {
            setFixedSize(48, 18);
        }
        void setColour(canvas::Rgb colour)
        {
            m_colour = colour;
            update();
        }

    protected:
        void paintEvent(QPaintEvent *) override
        {
            QPainter painter(this);
            painter.fillRect(rect(), qtglue::toQColor(m_colour));
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }

    private:
        canvas::Rgb m_colour = 0;
    };

} // namespace

ColourRolesDialog::ColourRolesDialog(const QString &title, std::vector<canvas::Rgb> working,
    std::vector<canvas::Rgb> defaults, std::vector<Role> roles, int &rememberedRole, QWidget *parent)
    : QDialog(parent)
    , m_working(std::move(working))
    , m_defaults(std::move(defaults))
    , m_roles(std::move(roles))
    , m_rememberedRole(rememberedRole)
    , m_rolesBox(new QGroupBox(this))
    , m_group(new QButtonGroup(this))
{
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(m_rolesBox);
    for (std::size_t i = 0; i < m_roles.size(); ++i) {
        auto *radio = new QRadioButton(m_roles[i].caption, m_rolesBox);
        m_group->addButton(radio, static_cast<int>(i));
        layout->addWidget(radio);
    }
    if (m_rememberedRole < 0 || m_rememberedRole >= static_cast<int>(m_roles.size()))
        m_rememberedRole = 0;
    m_group->button(m_rememberedRole)->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { m_rememberedRole = id; });
}

int ColourRolesDialog::currentSlot() const
{
    const int id = m_group->checkedId();
    return id < 0 ? m_roles.front().slot : m_roles[static_cast<std::size_t>(id)].slot;
}

QAbstractButton *ColourRolesDialog::roleButton(int index) const
{
    return m_group->button(index);
}

QPushButton *ColourRolesDialog::makePickButton(const QString &text)
{
    auto *button = new QPushButton(text, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] {
        const auto slot = static_cast<std::size_t>(currentSlot());
        if (const auto colour = ColourPicker::pick(m_working[slot], this)) {
            m_working[slot] = *colour;
            workingChanged();
        }
    });
    return button;
}

QPushButton *ColourRolesDialog::makeDefaultsButton(const QString &text)
{
    auto *button = new QPushButton(text, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] { setWorking(m_defaults); });
    return button;
}

QWidget *ColourRolesDialog::makeOkCancel()
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ui::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void ColourRolesDialog::setWorking(std::vector<canvas::Rgb> colours)
{
    m_working = std::move(colours);
    workingChanged();
}

// ---- "Couleur-profil"

ProfileColoursDialog::ProfileColoursDialog(
    const settings::ProfileColours &active, logbook::UnitSystem units, QWidget *parent)
    : ColourRolesDialog(ui::tr("Couleurs du profil"), toVector(active), toVector(settings::kDefaultProfileColours),
        {
            { ui::tr("&Profil"), 0 },
            { ui::tr("&Arrière plan"), 2 },
            { ui::tr("P&rofil 2"), 1 },
            { ui::tr("&Ligne déco"), 3 },
            { ui::tr("A&ttention"), 6 },
            { ui::tr("Dia&gramme"), 5 },
            { ui::tr("Te&xte"), 4 },
            { ui::tr("&Signal"), 7 },
        },
        s_profileRole, parent)
{
    m_chart
        = new CanvasView([this, units](canvas::Canvas &canvas,
                             canvas::Size size) { profile::drawProfileColourPreview(canvas, size, colours(), units); },
            QSize(400, 240), this);
    m_strip = new CanvasView(
        [this](canvas::Canvas &canvas, canvas::Size size) { profile::drawStripColourPreview(canvas, size, colours()); },
        QSize(400, 84), this);
    m_strip->setMinimumHeight(84);
    m_strip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *preview = new QGroupBox(ui::tr("&Visualiser"), this);
    auto *previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(m_chart, 1);
    previewLayout->addWidget(m_strip);

    auto *open = new QPushButton(ui::tr("&Ouvrir"), this);
    auto *save = new QPushButton(ui::tr("Sa&uver"), this);
    open->setAutoDefault(false);
    save->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, &ProfileColoursDialog::openColourFile);
    connect(save, &QPushButton::clicked, this, &ProfileColoursDialog::saveColourFile);

    auto *side = new QVBoxLayout;
    side->addWidget(rolesBox());
    side->addWidget(makePickButton(ui::tr("&Définir la couleur")));
    side->addWidget(makeDefaultsButton(ui::tr("D&éfaut")));
    side->addSpacing(8);
    side->addWidget(open);
    side->addWidget(save);
    side->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addLayout(side);
    top->addWidget(preview, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(makeOkCancel());
}

settings::ProfileColours ProfileColoursDialog::colours() const
{
    return fromVector<settings::ProfileColours>(working());
}

void ProfileColoursDialog::workingChanged()
{
    m_chart->invalidate();
    m_strip->invalidate();
}

namespace {

    // The desktop's own file dialog would not let the name field start as a pattern.
    QString chooseColourFile(QWidget *parent, FileRequest::Mode mode)
    {
        FileRequest request;
        request.parent = parent;
        request.mode = mode;
        request.filter = QStringLiteral("*.cst");
        request.defaultSuffix = QStringLiteral("cst");
        request.selectFile = QStringLiteral("*.cst");
        return chooseFile(request);
    }

} // namespace

void ProfileColoursDialog::openColourFile()
{
    const QString path = chooseColourFile(this, FileRequest::Mode::Open);
    if (path.isEmpty())
        return;
    // A file that cannot be read is passed over without a word, as it always was.
    if (const auto loaded = settings::loadColourFile(fromQt(path), colours()))
        setWorking(toVector(*loaded));
}

void ProfileColoursDialog::saveColourFile()
{
    const QString path = chooseColourFile(this, FileRequest::Mode::Save);
    if (path.isEmpty())
        return;
    const common::Result result = settings::saveColourFile(fromQt(path), colours());
    if (!result)
        ui::warn(this, windowTitle(), toQt(result.message()));
}

// ---- "Couleur"

NoDecoColoursDialog::NoDecoColoursDialog(const settings::NoDecoColours &active, QWidget *parent)
    : ColourRolesDialog(ui::tr("Couleur"), toVector(active), toVector(settings::kDefaultNoDecoColours),
        {
            { ui::tr("Déco 92 (0-700 m)"), 0 },
            { ui::tr("Déco 92 (701-1500 m)"), 1 },
            { ui::tr("US Navy"), 2 },
            { ui::tr("Aladin (0-900 m)"), 3 },
            { ui::tr("Aladin (1750-2700 m)"), 4 },
            { ui::tr("Arrière plan"), 5 },
            { ui::tr("Diagramme"), 7 },
            { ui::tr("Texte"), 6 },
        },
        s_noDecoRole, parent)
{
    m_chart = new CanvasView(
        [this](canvas::Canvas &canvas, canvas::Size size) { profile::drawNoDecoPreview(canvas, size, colours()); },
        QSize(320, 260), this);

    auto *side = new QVBoxLayout;
    side->addWidget(rolesBox());
    side->addWidget(makePickButton(ui::tr("Définir la &couleur")));
    side->addWidget(makeDefaultsButton(ui::tr("&Défaut")));
    side->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addLayout(side);
    top->addWidget(m_chart, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(makeOkCancel());
}

settings::NoDecoColours NoDecoColoursDialog::colours() const
{
    return fromVector<settings::NoDecoColours>(working());
}

void NoDecoColoursDialog::workingChanged()
{
    m_chart->invalidate();
}

// ---- "Couleur barre Statistique"

StatisticsColoursDialog::StatisticsColoursDialog(const settings::StatisticsColours &active, QWidget *parent)
    : ColourRolesDialog(ui::tr("Couleurs des statistiques"), toVector(active),
        toVector(settings::kDefaultStatisticsColours),
        {
            { ui::tr("&Eau douce"), 0 },
            { ui::tr("&Eau de mer"), 1 },
            { ui::tr("&Chambre de déco"), 2 },
            { ui::tr("&Donnée inf. Ø"), 3 },
            { ui::tr("D&onnée sup. Ø"), 4 },
        },
        s_statisticsRole, parent)
{
    // Each swatch stands on its radio button's row.
    auto *rows = qobject_cast<QVBoxLayout *>(rolesBox()->layout());
    auto *grid = new QGridLayout;
    for (int i = 0; i < static_cast<int>(active.size()); ++i) {
        QAbstractButton *radio = roleButton(i);
        rows->removeWidget(radio);
        auto *swatch = new Swatch(rolesBox());
        m_swatches.push_back(swatch);
        grid->addWidget(radio, i, 0);
        grid->addWidget(swatch, i, 1);
    }
    grid->setColumnStretch(0, 1);
    grid->setHorizontalSpacing(16);
    rows->addLayout(grid);
    workingChanged();

    auto *side = new QVBoxLayout;
    side->addWidget(makePickButton(ui::tr("&Appl. couleur")));
    side->addWidget(makeDefaultsButton(ui::tr("&Défaut")));
    side->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(rolesBox(), 1);
    top->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(makeOkCancel());
}

settings::StatisticsColours StatisticsColoursDialog::colours() const
{
    return fromVector<settings::StatisticsColours>(working());
}

void StatisticsColoursDialog::workingChanged()
{
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        static_cast<Swatch *>(m_swatches[i])->setColour(working()[i]);
}

// ---- openers

bool showProfileColoursDialog(AppContext &context, QWidget *parent)
{
    ProfileColoursDialog dialog(context.settings.profileColours, context.logbook.unitSystem(), parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    context.settings.profileColours = dialog.colours();
    return true;
}

bool showNoDecoColoursDialog(AppContext &context, QWidget *parent)
{
    NoDecoColoursDialog dialog(context.settings.noDecoColours, parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    context.settings.noDecoColours = dialog.colours();
    return true;
}

bool showStatisticsColoursDialog(AppContext &context, QWidget *parent)
{
    StatisticsColoursDialog dialog(context.settings.statisticsColours, parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    context.settings.statisticsColours = dialog.colours();
    return true;
}

} // namespace zorv::ui
