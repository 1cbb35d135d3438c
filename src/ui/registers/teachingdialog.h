// The instructor record window: the courses taught, the selected one's fields and the hour totals.
#pragma once

#include "registers/instructorrecord.h"
#include "ui/registers/recordlistdialog.h"

#include <vector>

namespace zorv::ui {

class TeachingDialog : public RecordListDialog {
    Q_OBJECT
public:
    explicit TeachingDialog(AppContext &context, QWidget *parent = nullptr);
    const std::vector<registers::TeachingActivity> &records() const { return m_records; }

protected:
    int count() const override { return static_cast<int>(m_records.size()); }
    void appendRecord() override;
    void removeRecord(int row) override;
    void sortRecords() override;
    common::Result saveTo(const std::string &path) override;
    registers::ListPrintout printout() const override;
    void refreshSummary() override;
    QString askNewPath() override;
    void pathSaved(const std::string &path) override;

private:
    void load(const std::string &path);
    void openFile();
    registers::TeachingActivity &record(int row) { return m_records[static_cast<std::size_t>(row)]; }

    std::vector<registers::TeachingActivity> m_records;
    QLabel *m_theory = nullptr;
    QLabel *m_practice = nullptr;
    QLabel *m_total = nullptr;
};

void showTeachingRecord(AppContext &context, QWidget *parent);

} // namespace zorv::ui
