#pragma once

#include <QIdentityProxyModel>

// The file dialog's size and date columns in Swedish (Qt writes them in the
// system's language, often English): "2,93 KiB", "0 byte", "2024-05-03 14:22".
class SwedishFileColumns : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    static constexpr int SizeColumn = 1;
    static constexpr int DateColumn = 3;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
