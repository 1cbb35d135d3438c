// The site and the partner statistics: a sortable list of places (partners) and, for the one selected, its sub-list.
#pragma once

#include "stats/frequencylist.h"

#include <QAbstractTableModel>
#include <QDialog>

class QButtonGroup;
class QLabel;
class QSpinBox;
class QTableView;

namespace zorv::ui {

struct AppContext;

// Two columns: name and number of dives, of the entries or of one entry's sub-entries.
class FrequencyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    FrequencyModel(QString nameTitle, QObject *parent = nullptr);

    // Shows the entries (entry < 0) or the sub-entries of one entry.
    void show(const stats::FrequencyList *list, int entry);
    void setSortMark(int column) { m_sortMark = column; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString m_nameTitle;
    const stats::FrequencyList *m_list = nullptr;
    int m_entry = -1;
    int m_sortMark = -1;
};

class FrequencyWindow : public QDialog {
    Q_OBJECT
public:
    FrequencyWindow(AppContext &context, stats::FrequencyKind kind, QWidget *parent = nullptr);
    ~FrequencyWindow() override;

    QTableView *entryList() const { return m_entries; }
    QTableView *subList() const { return m_subs; }
    QSpinBox *yearField() const { return m_year; }
    const stats::FrequencyList &list() const { return m_list; }
    void sortBy(int column);
    void selectEntry(int row);
    void setYearMode(bool oneYear);

private:
    void recompute();
    void refill();

    AppContext &m_context;
    stats::FrequencyList m_list;
    FrequencyModel *m_entryModel;
    FrequencyModel *m_subModel;
    QTableView *m_entries;
    QTableView *m_subs;
    QButtonGroup *m_mode;
    QSpinBox *m_year;
    QLabel *m_entryCount;
    QLabel *m_subCount;
    QLabel *m_subTotal = nullptr;
    int m_firstYear = 0;
    int m_currentYear = 0;
};

} // namespace zorv::ui
