// The tips of the day, shown at start-up and on demand.
#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <filesystem>

class QCheckBox;
class QLabel;

namespace zorv::ui {

struct AppContext;

class TipsDialog : public QDialog {
    Q_OBJECT
public:
    TipsDialog(AppContext &context, std::filesystem::path tipsFile, QWidget *parent = nullptr);

    // True unless the user switched the tips off at start-up.
    static bool wantedAtStartUp(const AppContext &context);

    QString tipText() const;
    QCheckBox *startUpBox() const { return m_startUp; }

public slots:
    void showNextTip();
    void accept() override;
    void done(int result) override;

private:
    AppContext &m_context;
    std::filesystem::path m_tipsFile;
    settings::TipState m_state;
    QLabel *m_tip = nullptr;
    QCheckBox *m_startUp = nullptr;
};

} // namespace zorv::ui
