// The compatibility notice ("Attention"), shown at start-up until the user switches it off.
#pragma once

#include <QDialog>

class QCheckBox;

namespace zorv::ui {

struct AppContext;

class NoticeDialog : public QDialog {
    Q_OBJECT
public:
    explicit NoticeDialog(AppContext &context, QWidget *parent = nullptr);

    QCheckBox *startUpBox() const { return m_startUp; }

public slots:
    void accept() override;

private:
    AppContext &m_context;
    QCheckBox *m_startUp;
};

} // namespace zorv::ui
