#pragma once

#include <QString>

// The texts the zones show: prompts, messages, status texts and the file
// filters of "Open Collection". Kept in one place so the commands and the
// tests agree on them letter for letter.
namespace ZoneTexts {

inline QString loginPrompt() {
    return QStringLiteral("Your password,please?");
}
inline QString loginTitle() {
    return QStringLiteral("Log in to private area");
}
inline QString wrongPassword() {
    return QStringLiteral(" Sorry, Your password is wrong! Try again ,please ! ");
}
inline QString trackingQuestion() {
    return QStringLiteral("Would You like keep a record ?");
}
inline QString trackingOn() {
    return QStringLiteral("Your tracking will keeped !!! ");
}
inline QString trackingOff() {
    return QStringLiteral("Your tracking will not keeped !!! ");
}
inline QString privateZone() {
    return QStringLiteral("Private zone ");
}
inline QString refused() {
    return QStringLiteral(" Sorry! You have no right to see it!!!");
}
inline QString parentalPrompt() {
    return QStringLiteral("Your password , please");
}
inline QString parentalTitle() {
    return QStringLiteral("Only parents!!!");
}
inline QString wrongPassPhrase() {
    return QStringLiteral(" Sorry, Your password is wrong, try again, please");
}
inline QString adultListingCreated() {
    return QStringLiteral("Your adult listing is created and  saved");
}
// The fixed phrase that guards the editing of the adult listing.
inline QString parentalPassPhrase() {
    return QStringLiteral("sun and sky");
}

// "Open Collection": pages outside the private zone, private collection
// files inside it.
inline QString collectionFilter(bool privateZone) {
    return privateZone ? QStringLiteral("Private collection file (*.prv)|*.prv")
                       : QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File "
                                        "(*.txt;*.rtf)|*.txt;*.rtf");
}

} // namespace ZoneTexts
