#include "ui/healthpanel.h"

#include <QPushButton>

#include "ui_healthpanel.h"

HealthPanel::HealthPanel(QWidget *parent) : QFrame(parent), ui(new Ui::HealthPanel)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("healthPanel"));
    setStyleSheet(QStringLiteral("QFrame#healthPanel{background-image:url(:/imgs/sfondo_prog_small.png);}"));
    const std::pair<QPushButton *, int> fixes[] = {
        {ui->btnFixPlaylists, health::Playlists}, {ui->btnFixNames, health::Names}, {ui->btnFixDuplicates, health::Duplicates}};
    for (const auto &fix : fixes) {
        const int group = fix.second;
        connect(fix.first, &QPushButton::clicked, this, [this, group] { emit fixRequested(group); });
    }
    connect(ui->btnCheckAgain, &QPushButton::clicked, this, &HealthPanel::checkRequested);
    connect(ui->btnClose, &QPushButton::clicked, this, &HealthPanel::closeRequested);
}

HealthPanel::~HealthPanel()
{
    delete ui;
}

void HealthPanel::showReport(const health::Report &report, const OperationState &state)
{
    ui->labelTitle->setText(state.translate("HealthPanel", "Library health"));
    ui->labelSummary->setText(report.summary(state).join(QLatin1Char('\n')));
    ui->labelPlaylists->setText(state.translate("HealthPanel", "Playlist lines that point at no song: %1")
                                    .arg(report.fixable(health::Playlists)));
    ui->labelNames->setText(state.translate("HealthPanel", "Names to change: %1").arg(report.fixable(health::Names)));
    ui->labelDuplicates->setText(state.translate("HealthPanel", "Sets of duplicate songs: %1")
                                     .arg(report.fixable(health::Duplicates)));
    for (QPushButton *fix : {ui->btnFixPlaylists, ui->btnFixNames, ui->btnFixDuplicates})
        fix->setText(state.translate("HealthPanel", "Fix..."));
    ui->btnFixPlaylists->setEnabled(report.fixable(health::Playlists) > 0);
    ui->btnFixNames->setEnabled(report.fixable(health::Names) > 0);
    ui->btnFixDuplicates->setEnabled(report.fixable(health::Duplicates) > 0);
    ui->btnCheckAgain->setText(state.translate("HealthPanel", "Check again"));
    ui->btnClose->setText(state.translate("HealthPanel", "Close"));
    ui->chart->setReport(report, state);
}
