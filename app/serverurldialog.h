#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for the radar server's URL. A URL the radar client would refuse is not accepted:
// the dialog says why and stays open.
class ServerUrlDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ServerUrlDialog(const QString &url, QWidget *parent = nullptr);

    QString url() const;
    QLineEdit *urlEdit() const { return m_urlEdit; }
    QString problemText() const;

    // Why the client refuses the URL; empty when it takes it.
    static QString urlProblem(const QString &url);

public slots:
    void accept() override;

private:
    QLineEdit *m_urlEdit = nullptr;
    QLabel *m_problemLabel = nullptr;
};
