#include "polygonvaluedelegate.h"

#include "polygonvaluesmodel.h"

#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

const char *const EditedProperty = "vantorEdited";

} // namespace

QWidget *PolygonValueDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const auto kind = PolygonValuesModel::kindOfRow(index.row());
    QAbstractSpinBox *editor = nullptr;
    if (kind == RadarParameters::PolygonTreatParam) {
        auto *spin = new QSpinBox(parent);
        spin->setRange(
            int(PolygonValuesModel::minimumOf(kind)), int(PolygonValuesModel::maximumOf(kind)));
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), spin,
            [spin] { spin->setProperty(EditedProperty, true); });
        editor = spin;
    } else {
        auto *spin = new QDoubleSpinBox(parent);
        spin->setDecimals(PolygonValuesModel::Decimals);
        spin->setRange(PolygonValuesModel::minimumOf(kind), PolygonValuesModel::maximumOf(kind));
        spin->setSuffix(kind == RadarParameters::PolygonSpeedParam ? tr(" m/s") : tr(" m"));
        connect(spin, qOverload<double>(&QDoubleSpinBox::valueChanged), spin,
            [spin] { spin->setProperty(EditedProperty, true); });
        editor = spin;
    }
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return editor;
}

void PolygonValueDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::EditRole);
    {
        const QSignalBlocker blocker(editor);
        if (auto *spin = qobject_cast<QSpinBox *>(editor))
            spin->setValue(value.toInt());
        else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
            spin->setValue(value.toDouble());
    }
    // A value not known is taken whatever the editor shows: the user entered it.
    editor->setProperty(EditedProperty, !value.isValid());
}

void PolygonValueDelegate::setModelData(
    QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *spin = qobject_cast<QAbstractSpinBox *>(editor);
    if (!spin)
        return;
    // Takes what is typed but not yet confirmed with Enter.
    spin->interpretText();
    if (!editor->property(EditedProperty).toBool())
        return;
    if (auto *intSpin = qobject_cast<QSpinBox *>(editor))
        model->setData(index, intSpin->value(), Qt::EditRole);
    else if (auto *doubleSpin = qobject_cast<QDoubleSpinBox *>(editor))
        model->setData(index, doubleSpin->value(), Qt::EditRole);
}
