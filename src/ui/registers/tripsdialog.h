// The trips window: the trips of the open logbook, the selected trip's fields, and the way to its first dive.
#pragma once

#include "registers/trips.h"
#include "ui/registers/registerwindow.h"

#include <functional>
#include <vector>

namespace zorv::ui {

class TripsDialog : public RecordListWindow<registers::Trip> {
    Q_OBJECT
public:
    // `goToDive` moves the dive page to a position of the logbook.
    TripsDialog(AppContext &context, std::function<void(int position)> goToDive, QWidget *parent = nullptr);
    const std::vector<registers::Trip> &trips() const { return m_records; }

protected:
    std::string cell(int row, int column) const override;
    common::Result readFrom(const std::string &path) override;
    registers::ListPrintout printout() const override;
    void refreshSummary() override;

private:
    registers::Trip &trip(int row) { return record(row); }
    const registers::Trip &trip(int row) const { return record(row); }

    std::function<void(int)> m_goToDive;
    QPushButton *m_goTo = nullptr;
};

void showTrips(AppContext &context, const std::function<void(int position)> &goToDive, QWidget *parent);

} // namespace zorv::ui
