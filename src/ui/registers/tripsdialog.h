// The trips window: the trips of the open logbook, the selected trip's fields, and the way to its first dive.
#pragma once

#include "registers/trips.h"
#include "ui/registers/recordlistdialog.h"

#include <functional>
#include <vector>

namespace zorv::ui {

class TripsDialog : public RecordListDialog {
    Q_OBJECT
public:
    // `goToDive` moves the dive page to a position of the logbook.
    TripsDialog(AppContext &context, std::function<void(int position)> goToDive, QWidget *parent = nullptr);
    const std::vector<registers::Trip> &trips() const { return m_trips; }

protected:
    int count() const override { return static_cast<int>(m_trips.size()); }
    void appendRecord() override;
    void removeRecord(int row) override;
    void sortRecords() override;
    common::Result saveTo(const std::string &path) override;
    registers::ListPrintout printout() const override;
    void refreshSummary() override;
    QString askNewPath() override;

private:
    registers::Trip &trip(int row) { return m_trips[static_cast<std::size_t>(row)]; }

    std::vector<registers::Trip> m_trips;
    std::function<void(int)> m_goToDive;
    QPushButton *m_goTo = nullptr;
};

void showTrips(AppContext &context, const std::function<void(int position)> &goToDive, QWidget *parent);

} // namespace zorv::ui
