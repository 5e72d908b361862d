#include "core/language.h"

#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRecursiveMutex>
#include <QTranslator>

static void initTranslations()
{
    // The catalogues live in a static library: make sure the linker keeps them.
    Q_INIT_RESOURCE(corvel3_translations);
}

namespace language {

namespace {

// In the order of the language numbers the program has always used.
const char *const kLanguages[] = {"it", "en"};
constexpr int kLanguageCount = int(sizeof(kLanguages) / sizeof(kLanguages[0]));

struct Catalogues {
    QTranslator own[kLanguageCount];
    bool loaded[kLanguageCount] = {};
    std::unique_ptr<QTranslator> installedOwn, installedQt;
    int installedLanguage = -1;
};

// Recursive: installing sends LanguageChange, whose handlers may look texts up.
QRecursiveMutex mutex;

Catalogues &catalogues()
{
    static Catalogues c;
    return c;
}

const QTranslator *catalogue(int lang)
{
    if (lang < 0 || lang >= kLanguageCount)
        return nullptr;
    QMutexLocker lock(&mutex);
    Catalogues &c = catalogues();
    if (!c.loaded[lang]) {
        initTranslations();
        c.loaded[lang] = true;
        const QString file = QStringLiteral(":/i18n/corvel3_%1.qm").arg(QLatin1String(kLanguages[lang]));
        if (!c.own[lang].load(file))
            qWarning("corvel3: no catalogue %s: texts stay in English", qPrintable(file));
    }
    return &c.own[lang];
}

QString qtTranslationsFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

} // namespace

QString translate(int lang, const char *context, const char *source, const char *disambiguation)
{
    const QTranslator *translator = catalogue(lang);
    const QString text = translator ? translator->translate(context, source, disambiguation) : QString();
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

void install(int lang)
{
    if (lang < 0 || lang >= kLanguageCount || !QCoreApplication::instance())
        return;
    catalogue(lang);
    QMutexLocker lock(&mutex);
    Catalogues &c = catalogues();
    if (c.installedLanguage == lang)
        return;
    if (c.installedOwn)
        QCoreApplication::removeTranslator(c.installedOwn.get());
    if (c.installedQt)
        QCoreApplication::removeTranslator(c.installedQt.get());
    c.installedOwn = std::make_unique<QTranslator>();
    if (c.installedOwn->load(QStringLiteral(":/i18n/corvel3_%1.qm").arg(QLatin1String(kLanguages[lang]))))
        QCoreApplication::installTranslator(c.installedOwn.get());
    // English is Qt's own language: no catalogue to add.
    c.installedQt = std::make_unique<QTranslator>();
    if (lang != English
        && c.installedQt->load(QStringLiteral("qtbase_%1").arg(QLatin1String(kLanguages[lang])), qtTranslationsFolder()))
        QCoreApplication::installTranslator(c.installedQt.get());
    c.installedLanguage = lang;
}

} // namespace language
