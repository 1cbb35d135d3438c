// The profile window's dive list: one line per dive with its profile mark and number.
#pragma once

#include "logbook/logbook.h"
#include "profile/previewdrawing.h"
#include "ui/common/divelistdelegate.h"
#include "ui/common/qtext.h"

#include <QAbstractListModel>

namespace zorv::ui {

class ProfileDiveListModel final : public QAbstractListModel {
public:
    ProfileDiveListModel(const logbook::Logbook &logbook, QObject *parent)
        : QAbstractListModel(parent)
        , m_logbook(logbook)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const logbook::DiveRecord *dive = index.isValid() ? m_logbook.dive(index.row() + 1) : nullptr;
        if (!dive)
            return {};
        if (role == Qt::DisplayRole)
            return toQt(profile::profileListLine(*dive));
        if (role == kProfileKindRole)
            return static_cast<int>(logbook::profileKind(*dive));
        return {};
    }

private:
    const logbook::Logbook &m_logbook;
    // The window only reads the logbook, so the count cannot change while it is open.
    const int m_rows = m_logbook.diveCount();
};

} // namespace zorv::ui
