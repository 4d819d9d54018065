#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class MessageBytesDialog;
}

// Shows every byte of one received datagram, as text with control characters made visible
// and as a hex dump, however the list cuts it.
class MessageBytesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MessageBytesDialog(QWidget *parent = nullptr);
    ~MessageBytesDialog() override;

    // header names the datagram (time and sender) in the title.
    void showMessage(const QString &header, const QByteArray &payload);
    void showNoMessage();

private:
    std::unique_ptr<Ui::MessageBytesDialog> m_ui;
};
