#pragma once

#include "canidtablemodel.h"
#include "linkhistory.h"
#include "standalonewidget.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>
#include <QVector>

class IVantorClient;
class LinkHistoryPlot;
class QLabel;
class QTableView;

// The health of the radar link: every CAN identifier the client has seen with its rate,
// last payload and age, and the ping latency and reconnects of the last hour. Follows one
// client at a time and keeps counting while closed; refreshes only while shown.
class LinkDiagnosticsWidget : public StandaloneWidget
{
    Q_OBJECT

public:
    explicit LinkDiagnosticsWidget(QWidget *parent = nullptr);

    // Follows this client from now on (its identifiers afresh); null follows none.
    void setClient(IVantorClient *client);

    CanIdTableModel *model() { return &m_model; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void doRefresh();

    CanIdTableModel m_model;
    LinkHistory m_history;
    QElapsedTimer m_clock;
    QTimer m_refreshTimer;
    QVector<QMetaObject::Connection> m_connections;
    QTableView *m_view = nullptr;
    LinkHistoryPlot *m_plot = nullptr;
    QLabel *m_summary = nullptr;
};
