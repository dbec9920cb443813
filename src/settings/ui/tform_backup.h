#pragma once

#include "app/ui/mivo_dialog.h"

class BackupJob;
class BackupScheduler;
class QCheckBox;
class QComboBox;
class QProgressBar;
class QPushButton;
class QTableWidget;

// Backups of the database: the daily automatic backup's switch and hour, a backup
// made now, and the list of backups to restore or delete.
class TForm_backup : public MivoDialog
{
    Q_OBJECT
public:
    TForm_backup(Forms &forms, QWidget *parent);

    BackupScheduler *scheduler() const { return m_scheduler; }
    // Rebuilds "已备份记录" from the backup folder.
    void load_list();

public slots:
    void ClickManual();
    void restore(const QString &path);
    void remove(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setting_changed();
    void backup_started(BackupJob *job);
    void backup_finished(bool ok, const QString &message);

    BackupScheduler *m_scheduler = nullptr;
    QCheckBox *m_auto = nullptr;
    QComboBox *m_hour = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_manual = nullptr;
    QTableWidget *m_list = nullptr;
};
