#include "core/model/option_tables.h"

#include "res/resource.h"

namespace pw {

const std::array<ListEntry, 6> kButtonSets{{
    {"Abort, Retry, Ignore", "MB_ABORTRETRYIGNORE", 0x2},
    {"OK", "MB_OK", 0x0},
    {"OK, Cancel", "MB_OKCANCEL", 0x1},
    {"Retry, Cancel", "MB_RETRYCANCEL", 0x5},
    {"Yes, No", "MB_YESNO", 0x4},
    {"Yes, No, Cancel", "MB_YESNOCANCEL", 0x3},
}};

const std::array<ListEntry, 4> kDefaultButtons{{
    {"button 1", "MB_DEFBUTTON1", 0x0},
    {"button 2", "MB_DEFBUTTON2", 0x100},
    {"button 3", "MB_DEFBUTTON3", 0x200},
    {"button 4", "MB_DEFBUTTON4", 0x300},
}};

const std::array<ListEntry, 6> kIcons{{
    {"(none)", "", 0x0},
    {"warning", "MB_ICONWARNING", 0x30},
    {"information", "MB_ICONINFORMATION", 0x40},
    {"question", "MB_ICONQUESTION", 0x20},
    {"stop", "MB_ICONSTOP", 0x10},
    {"usericon", "MB_USERICON", 0x80},
}};

const std::array<std::string_view, 6> kButtonSetAddOrder{
    "OK", "OK, Cancel", "Abort, Retry, Ignore", "Retry, Cancel", "Yes, No", "Yes, No, Cancel"};

const std::array<std::string_view, 4> kDefaultButtonAddOrder{"button 1", "button 2", "button 3", "button 4"};

const std::array<CheckEntry, 3> kModalities{{
    {IDC_APPLMODAL, "MB_APPLMODAL", 0x0},
    {IDC_SYSTEMMODAL, "MB_SYSTEMMODAL", 0x1000},
    {IDC_TASKMODAL, "MB_TASKMODAL", 0x2000},
}};

const std::array<CheckEntry, 8> kFlags{{
    {IDC_HELPBUTTON, "MB_HELP", 0x4000},
    {IDC_RIGHT, "MB_RIGHT", 0x80000},
    {IDC_RTLREADING, "MB_RTLREADING", 0x100000},
    {IDC_SETFOREGROUND, "MB_SETFOREGROUND", 0x10000},
    {IDC_DEFAULTDESKTOP, "MB_DEFAULT_DESKTOP_ONLY", 0x20000},
    {IDC_TOPMOST, "MB_TOPMOST", 0x40000},
    {IDC_SERVICE, "MB_SERVICE_NOTIFICATION", 0x200000},
    {IDC_SERVICE_NT3X, "MB_SERVICE_NOTIFICATION_NT3X", 0x40000},
}};

const std::array<LanguageRow, kLanguageCount> kLanguages{{
    {"0x0000", "Language Neutral"},
    {"0x0400", "Process Default Language"},
    {"0x0401", "Arabic (Saudi Arabia)"},
    {"0x0801", "Arabic (Iraq)"},
    {"0x0c01", "Arabic (Egypt)"},
    {"0x1001", "Arabic (Libya)"},
    {"0x1401", "Arabic (Algeria)"},
    {"0x1801", "Arabic (Morocco)"},
    {"0x1c01", "Arabic (Tunisia)"},
    {"0x2001", "Arabic (Oman)"},
    {"0x2401", "Arabic (Yemen)"},
    {"0x2801", "Arabic (Syria)"},
    {"0x2c01", "Arabic (Jordan)"},
    {"0x3001", "Arabic (Lebanon)"},
    {"0x3401", "Arabic (Kuwait)"},
    {"0x3801", "Arabic (U.A.E.)"},
    {"0x3c01", "Arabic (Bahrain)"},
    {"0x4001", "Arabic (Qatar)"},
    {"0x0402", "Bulgarian"},
    {"0x0403", "Catalan"},
    {"0x0404", "Chinese (Taiwan)"},
    {"0x0804", "Chinese (PRC)"},
    {"0x0c04", "Chinese (Hong Kong)"},
    {"0x1004", "Chinese (Singapore)"},
    {"0x0405", "Czech"},
    {"0x0406", "Danish"},
    {"0x0407", "German (Standard)"},
    {"0x0807", "German (Swiss)"},
    {"0x0c07", "German (Austrian)"},
    {"0x1007", "German (Luxembourg)"},
    {"0x1407", "German (Liechtenstein)"},
    {"0x0408", "Greek"},
    {"0x0409", "English (United States)"},
    {"0x0809", "English (United Kingdom)"},
    {"0x0c09", "English (Australian)"},
    {"0x1009", "English (Canadian)"},
    {"0x1409", "English (New Zealand)"},
    {"0x1809", "English (Ireland)"},
    {"0x1c09", "English (South Africa)"},
    {"0x2009", "English (Jamaica)"},
    {"0x2409", "English (Caribbean)"},
    {"0x2809", "English (Belize)"},
    {"0x2c09", "English (Trinidad)"},
    {"0x040a", "Spanish (Traditional Sort)"},
    {"0x080a", "Spanish (Mexican)"},
    {"0x0c0a", "Spanish (Modern Sort)"},
    {"0x100a", "Spanish (Guatemala)"},
    {"0x140a", "Spanish (Costa Rica)"},
    {"0x180a", "Spanish (Panama)"},
    {"0x1c0a", "Spanish (Dominican Republic)"},
    {"0x200a", "Spanish (Venezuela)"},
    {"0x240a", "Spanish (Colombia)"},
    {"0x280a", "Spanish (Peru)"},
    {"0x2c0a", "Spanish (Argentina)"},
    {"0x300a", "Spanish (Ecuador)"},
    {"0x340a", "Spanish (Chile)"},
    {"0x380a", "Spanish (Uruguay)"},
    {"0x3c0a", "Spanish (Paraguay)"},
    {"0x400a", "Spanish (Bolivia)"},
    {"0x440a", "Spanish (El Salvador)"},
    {"0x480a", "Spanish (Honduras)"},
    {"0x4c0a", "Spanish (Nicaragua)"},
    {"0x500a", "Spanish (Puerto Rico)"},
    {"0x040b", "Finnish"},
    {"0x040c", "French (Standard)"},
    {"0x080c", "French (Belgian)"},
    {"0x0c0c", "French (Canadian)"},
    {"0x100c", "French (Swiss)"},
    {"0x140c", "French (Luxembourg)"},
    {"0x040d", "Hebrew"},
    {"0x040e", "Hungarian"},
    {"0x040f", "Icelandic"},
    {"0x0410", "Italian (Standard)"},
    {"0x0810", "Italian (Swiss)"},
    {"0x0411", "Japanese"},
    {"0x0412", "Korean"},
    {"0x0812", "Korean (JoHab)"},
    {"0x0413", "Dutch (Standard)"},
    {"0x0813", "Dutch (Belgian)"},
    {"0x0414", "Norwegian (Bokmal)"},
    {"0x0814", "Norwegian (Nynorsk)"},
    {"0x0415", "Polish"},
    {"0x0416", "Portuguese (Brazilian)"},
    {"0x0816", "Portuguese (Standard)"},
    {"0x0418", "Romanian"},
    {"0x0419", "Russian"},
    {"0x041a", "Croatian"},
    {"0x0c1a", "Serbian"},
    {"0x041b", "Slovak"},
    {"0x041c", "Albanian"},
    {"0x041d", "Swedish"},
    {"0x081d", "Swedish (Finland)"},
    {"0x041e", "Thai"},
    {"0x041f", "Turkish"},
    {"0x0421", "Indonesian"},
    {"0x0422", "Ukrainian"},
    {"0x0423", "Belarusian"},
    {"0x0424", "Slovenian"},
    {"0x0425", "Estonian"},
    {"0x0426", "Latvian"},
    {"0x0427", "Lithuanian"},
    {"0x081a", "Serbian"},
    {"0x0429", "Farsi"},
    {"0x042d", "Basque"},
    {"0x0436", "Afrikaans"},
    {"0x0438", "Faeroese"},
    // Last, so that the positions of the rows before it stay what they were.
    {"0x0800", "System Default Language"},
}};

int FixedListSize(int id) {
    switch (id) {
    case IDC_BUTTONS: return static_cast<int>(kButtonSets.size());
    case IDC_DEFBUTTON: return static_cast<int>(kDefaultButtons.size());
    case IDC_ICON: return static_cast<int>(kIcons.size());
    case IDC_LANGUAGE: return kLanguageCount;
    default: return 0;
    }
}

}  // namespace pw
