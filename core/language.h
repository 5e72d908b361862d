#pragma once

#include <QString>

// The program's languages and its texts. Texts are written in English in the sources, marked for
// Qt Linguist (translate("context", "English text")), and looked up in the .qm files built from
// translations/corvel3_<code>.ts and embedded in the program. A third language is a .ts file and
// a line in cmake/translations.cmake, plus its row in kLanguages (language.cpp).
namespace language {

enum : int { Italian = 0, English = 1 };

// The text of source (English) in context, in lang; the source itself when the catalogue has no
// translation, or lang is not one of the program's languages.
QString translate(int lang, const char *context, const char *source, const char *disambiguation = nullptr);

// Installs lang's catalogue and Qt's own (qtbase_<code>, from Qt's translations folder) in the
// application, replacing those of the language before: Qt's dialogs and the forms follow it.
// Anything outside the program's languages is ignored.
void install(int lang);

} // namespace language

// The texts of one language, for code that holds a language rather than an operation's state.
struct Texts {
    int lang = language::English;
    static Texts of(bool italian) { return Texts{italian ? language::Italian : language::English}; }
    QString translate(const char *context, const char *source, const char *disambiguation = nullptr) const
    {
        return language::translate(lang, context, source, disambiguation);
    }
};
