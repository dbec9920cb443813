#include "settings/ui/tform_backup.h"

#include "app/ini.h"
#include "app/ui/box_prompts.h"
#include "settings/backup.h"
#include "settings/backup_scheduler.h"
#include "settings/ui/tform_system.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

TForm_backup::TForm_backup(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("数据库备份设置"));
    setObjectName(QStringLiteral("TForm_backup"));

    m_auto = new QCheckBox(QStringLiteral("是否开启每天自动备份"), this);
    m_auto->setObjectName(QStringLiteral("Check_isautobackup"));
    m_hour = new QComboBox(this);
    m_hour->setObjectName(QStringLiteral("Combo_backuph"));
    for (int h = 0; h < 24; ++h)
        m_hour->addItem(QString::number(h));
    auto *hourRow = new QHBoxLayout;
    hourRow->addWidget(new QLabel(QStringLiteral("每天备份时间："), this));
    hourRow->addWidget(m_hour);
    auto *note = new QLabel(QStringLiteral("请选择空闲时间，以免影响软件使用"), this);
    note->setStyleSheet(QStringLiteral("color:#888888"));
    hourRow->addWidget(note);
    hourRow->addStretch(1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar_backup"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_manual = new QPushButton(QStringLiteral("手动备份"), this);
    m_manual->setObjectName(QStringLiteral("Button_manual"));
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(new QLabel(QStringLiteral("备份进度："), this));
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_manual);

    auto *records = new QGroupBox(QStringLiteral("已备份记录"), this);
    auto *rl = new QVBoxLayout(records);
    m_list = new QTableWidget(0, 5, records);
    m_list->setObjectName(QStringLiteral("Grid_backups"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("编号"),
                                       QStringLiteral("文件名称"),
                                       QStringLiteral("备份时间"),
                                       QStringLiteral("文件大小"),
                                       QStringLiteral("操作")});
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->setColumnWidth(0, 50);
    m_list->setColumnWidth(2, 150);
    m_list->setColumnWidth(3, 90);
    m_list->setColumnWidth(4, 130);
    rl->addWidget(m_list);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_auto);
    layout->addLayout(hourRow);
    layout->addLayout(progressRow);
    layout->addWidget(records, 1);
    resize(680, 460);

    connect(m_auto, &QCheckBox::toggled, this, &TForm_backup::setting_changed);
    connect(m_hour, &QComboBox::currentIndexChanged, this, &TForm_backup::setting_changed);
    connect(m_manual, &QPushButton::clicked, this, &TForm_backup::ClickManual);

    m_scheduler = new BackupScheduler(ctx(), this);
    connect(m_scheduler, &BackupScheduler::started, this, &TForm_backup::backup_started);
    connect(m_scheduler, &BackupScheduler::finished, this, &TForm_backup::backup_finished);
    m_scheduler->start_watching();
}

void TForm_backup::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        const QSignalBlocker a(m_auto);
        const QSignalBlocker h(m_hour);
        m_auto->setChecked(ctx().settings.isautobackup == 1);
        const int hour = ctx().settings.backuph;
        m_hour->setCurrentIndex(hour >= 0 && hour <= 23 ? hour : 5);
        load_list();
    }
    MivoDialog::showEvent(event);
}

void TForm_backup::setting_changed()
{
    Settings &s = ctx().settings;
    s.backuph = m_hour->currentIndex() >= 0 ? m_hour->currentIndex() : 5;
    s.isautobackup = m_auto->isChecked() ? 1 : 0;
    const IniFile ini(ctx().paths.ini);
    if (!ini.writeInt("Config", "isautobackup", s.isautobackup)
        || !ini.writeInt("Config", "backuph", s.backuph))
        toast(QStringLiteral("配置文件无法写入，请检查文件权限：") + ini.path());
}

void TForm_backup::load_list()
{
    const QVector<BackupEntry> list = list_backups(backup_folder(ctx().paths));
    m_list->setRowCount(0);
    m_list->setRowCount(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const BackupEntry &e = list[i];
        const QStringList cells = {QString::number(i + 1),
                                   e.file_name,
                                   e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                   size_text(e.size)};
        for (int c = 0; c < cells.size(); ++c)
            m_list->setItem(i, c, new QTableWidgetItem(cells[c]));
        auto *ops = new QWidget;
        auto *h = new QHBoxLayout(ops);
        h->setContentsMargins(4, 0, 4, 0);
        auto *restore = new QPushButton(QStringLiteral("恢复"), ops);
        restore->setObjectName(QStringLiteral("Button_restore_%1").arg(i + 1));
        auto *del = new QPushButton(QStringLiteral("删除"), ops);
        del->setObjectName(QStringLiteral("Button_delete_%1").arg(i + 1));
        h->addWidget(restore);
        h->addWidget(del);
        const QString path = e.path;
        connect(restore, &QPushButton::clicked, this, [this, path] { this->restore(path); });
        connect(del, &QPushButton::clicked, this, [this, path] { this->remove(path); });
        m_list->setCellWidget(i, 4, ops);
    }
}

void TForm_backup::ClickManual()
{
    QString error;
    if (!m_scheduler->backup_now(false, &error))
        toast(error);
}

void TForm_backup::backup_started(BackupJob *job)
{
    m_manual->setEnabled(false);
    m_progress->setValue(0);
    connect(job, &BackupJob::progress, m_progress, &QProgressBar::setValue);
}

void TForm_backup::backup_finished(bool ok, const QString &message)
{
    m_manual->setEnabled(true);
    if (!ok)
        m_progress->setValue(0);
    load_list();
    if (isVisible() || !ok)
        toast(message);
}

void TForm_backup::restore(const QString &path)
{
    if (m_scheduler->current()) {
        toast(QStringLiteral("正在备份，请稍候"));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    if (!ctx().prompts().confirm(
            QStringLiteral("确定要用备份“%1”恢复数据库吗？\n当前数据库会先另存一份，"
                           "恢复后所有界面重新载入。")
                .arg(name)))
        return;
    QString aside;
    // Every window shows the restored data (database_replaced); dialogs opened on a
    // table, an order or a member close, which may not exist any more.
    const QString problem = restore_database(ctx(), path, &aside);
    if (!problem.isEmpty()) {
        ctx().prompts().warning(problem);
        return;
    }
    load_list();
    toast(QStringLiteral("恢复成功，原数据库已另存为：") + QFileInfo(aside).fileName(), 4);
}

void TForm_backup::remove(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!ctx().prompts().confirm(QStringLiteral("确定要删除备份“%1”吗？").arg(name)))
        return;
    if (!QFile::remove(path))
        toast(QStringLiteral("备份文件无法删除：") + name);
    load_list();
}
