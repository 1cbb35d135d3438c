// The instructor record window: the courses taught, the selected one's fields and the hour totals.
#pragma once

#include "registers/instructorrecord.h"
#include "ui/registers/registerwindow.h"

#include <vector>

class QLabel;

namespace zorv::ui {

class TeachingDialog : public RecordListWindow<registers::TeachingActivity> {
    Q_OBJECT
public:
    explicit TeachingDialog(AppContext &context, QWidget *parent = nullptr);

protected:
    std::string cell(int row, int column) const override;
    registers::ListPrintout printout() const override;
    void refreshSummary() override;

private:
    QLabel *m_theory = nullptr;
    QLabel *m_practice = nullptr;
    QLabel *m_total = nullptr;
};

void showTeachingRecord(AppContext &context, QWidget *parent);

} // namespace zorv::ui
