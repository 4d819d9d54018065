#pragma once

#include "standalonewidget.h"

#include <QJsonObject>

#include <memory>

namespace Ui {
class TvmsConfigWidget;
}

// The camera configuration editor: every edit announces the whole configuration.
class TvmsConfigWidget : public StandaloneWidget
{
    Q_OBJECT

public:
    explicit TvmsConfigWidget(QWidget *parent = nullptr);
    ~TvmsConfigWidget() override;

    QJsonObject tvmsConfig() const;

public slots:
    // Shows the configuration; keys it lacks show the editor's defaults, values out of
    // range the nearest limit. Announces nothing.
    void setTvmsConfig(const QJsonObject &config);

signals:
    void tvmsConfigChanged(const QJsonObject &config);

private:
    void onValueEdited();
    void onDefaultsClicked();

    std::unique_ptr<Ui::TvmsConfigWidget> m_ui;
};
