// The three chart colour dialogs: profile colours, no-decompression comparison colours and statistics bar colours.
#pragma once

#include "canvas/canvas.h"
#include "logbook/unitsystem.h"
#include "settings/settings.h"

#include <QDialog>
#include <QString>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace zorv::ui {

struct AppContext;
class CanvasView;

// Each opens its dialog on the active colours and, after OK, makes the edited
// colours active and returns true; the caller then repaints what uses them.
bool showProfileColoursDialog(AppContext &context, QWidget *parent);
bool showNoDecoColoursDialog(AppContext &context, QWidget *parent);
bool showStatisticsColoursDialog(AppContext &context, QWidget *parent);

// What the three dialogs share: a working copy of one colour set, radio
// buttons that choose the role to edit, a button that picks the role's colour
// and one that goes back to the defaults. The dialogs never touch the active
// colours themselves; their openers copy colours() over them after OK.
class ColourRolesDialog : public QDialog {
    Q_OBJECT
public:
    struct Role {
        QString caption;
        int slot; // index into the colour set
    };

    const std::vector<canvas::Rgb> &working() const { return m_working; }
    int currentSlot() const;

protected:
    // `rememberedRole` outlives the dialog, so that it reopens on the role last chosen.
    ColourRolesDialog(const QString &title, std::vector<canvas::Rgb> working, std::vector<canvas::Rgb> defaults,
        std::vector<Role> roles, int &rememberedRole, QWidget *parent);

    QGroupBox *rolesBox() const { return m_rolesBox; }
    QAbstractButton *roleButton(int index) const;
    QPushButton *makePickButton(const QString &text);
    QPushButton *makeDefaultsButton(const QString &text);
    QWidget *makeOkCancel();
    void setWorking(std::vector<canvas::Rgb> colours);
    // Repaints whatever shows the working colours.
    virtual void workingChanged() = 0;

private:
    std::vector<canvas::Rgb> m_working;
    std::vector<canvas::Rgb> m_defaults;
    std::vector<Role> m_roles;
    int &m_rememberedRole;
    QGroupBox *m_rolesBox;
    QButtonGroup *m_group;
};

// "Couleur-profil": with a sample chart and strip, and ".cst" files.
class ProfileColoursDialog final : public ColourRolesDialog {
    Q_OBJECT
public:
    ProfileColoursDialog(const settings::ProfileColours &active, logbook::UnitSystem units, QWidget *parent = nullptr);

    settings::ProfileColours colours() const;

private:
    void workingChanged() override;
    void openColourFile();
    void saveColourFile();

    CanvasView *m_chart;
    CanvasView *m_strip;
};

// "Couleur": the comparison chart's colours, with its first depths as a sample.
class NoDecoColoursDialog final : public ColourRolesDialog {
    Q_OBJECT
public:
    explicit NoDecoColoursDialog(const settings::NoDecoColours &active, QWidget *parent = nullptr);

    settings::NoDecoColours colours() const;

private:
    void workingChanged() override;

    CanvasView *m_chart;
};

// "Couleur barre Statistique": a swatch of each bar colour beside its role.
class StatisticsColoursDialog final : public ColourRolesDialog {
    Q_OBJECT
public:
    explicit StatisticsColoursDialog(const settings::StatisticsColours &active, QWidget *parent = nullptr);

    settings::StatisticsColours colours() const;
    QWidget *swatch(int slot) const { return m_swatches[static_cast<std::size_t>(slot)]; }

private:
    void workingChanged() override;

    std::vector<QWidget *> m_swatches;
};

} // namespace zorv::ui
