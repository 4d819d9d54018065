#include "linkdiagnosticswidget.h"

#include "ivantorserialconnectionclient.h"
#include "linkhistoryplot.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

LinkDiagnosticsWidget::LinkDiagnosticsWidget(QWidget *parent)
    : StandaloneWidget(parent)
    , m_view(new QTableView(this))
    , m_plot(new LinkHistoryPlot(&m_history, this))
    , m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("linkDiagnosticsWidget"));
    m_clock.start();
    m_view->setObjectName(QStringLiteral("canIdView"));
    m_view->setModel(&m_model);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setFont(QFont(QStringLiteral("Monospace")));
    m_view->horizontalHeader()->setFont(font());
    m_plot->setObjectName(QStringLiteral("linkHistoryPlot"));
    m_summary->setObjectName(QStringLiteral("linkSummary"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 3);
    layout->addWidget(m_summary);
    layout->addWidget(m_plot, 2);

    resize(760, 600);
    m_refreshTimer.setInterval(1000);
    connect(&m_refreshTimer, &QTimer::timeout, this, &LinkDiagnosticsWidget::doRefresh);
    doRefresh();
}

void LinkDiagnosticsWidget::setClient(IVantorClient *client)
{
    for (const QMetaObject::Connection &connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_model.clear();
    if (!client)
        return;
    m_connections += connect(client, &IVantorClient::pingLatency, this,
        [this](quint64 latency) { m_history.addLatency(m_clock.elapsed(), latency); });
    m_connections += connect(client, &IVantorClient::connected, this,
        [this] { m_history.addConnected(m_clock.elapsed()); });
    m_connections += connect(client, &IVantorClient::disconnected, this,
        [this] { m_history.addDisconnected(m_clock.elapsed()); });
    if (auto *serial = qobject_cast<IVantorSerialConnectionClient *>(client)) {
        serial->setEmitStatsEnabled(true);
        m_connections += connect(serial, &IVantorSerialConnectionClient::canMessageInfo, &m_model,
            &CanIdTableModel::onCanMessageInfo);
    }
}

void LinkDiagnosticsWidget::showEvent(QShowEvent *event)
{
    StandaloneWidget::showEvent(event);
    m_model.setRefreshing(true);
    m_refreshTimer.start();
    doRefresh();
}

void LinkDiagnosticsWidget::hideEvent(QHideEvent *event)
{
    m_model.setRefreshing(false);
    m_refreshTimer.stop();
    StandaloneWidget::hideEvent(event);
}

void LinkDiagnosticsWidget::doRefresh()
{
    const qint64 now = m_clock.elapsed();
    m_history.expire(now);
    const QVector<LinkHistory::Latency> &latencies = m_history.latencies();
    const QString last = latencies.isEmpty()
        ? tr("no ping answered yet")
        : tr("last ping %1 ms").arg(latencies.last().latencyMs);
    m_summary->setText(tr("CAN identifiers seen: %1; %2; reconnects in the last hour: %3")
                           .arg(m_model.rowCount())
                           .arg(last)
                           .arg(m_history.reconnects().size()));
    m_plot->showAt(now);
}
