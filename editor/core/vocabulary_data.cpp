// The editor's vocabulary: the names of the commands, abilities, pictures,
// sounds and voices, by id. Picture ids are (group * 256) + index; group 0
// holds general pictures, groups 1 to 26 the pictures of the ability with the
// same id, and groups 19, 21 and 23 pictures without an ability (a user
// ability, trading, a user icon). Sound ids 0 to 62 are effects, 63 to 196
// and 255 to 347 voices; both share one id space.
#include "vocabulary.h"

namespace vtq {
namespace {

constexpr VocabularyEntry kCommandStrings[] = {
    {16, "KEEP_ALIVE"}, {34, "PLAY_SOUND"}, {83, "SHOW_ANIMATION"}, {113, "ENABLE_ABILITY"},
    {129, "DISABLE_ABILITY"}, {145, "SELECT_ABILITY"}, {240, "STOP_ABILITY"},
};

constexpr VocabularyEntry kAbilityStrings[] = {
    {0, "AB_IDLE"}, {1, "AB_DODGE"}, {2, "AB_REFLEX"}, {3, "AB_JUMP"}, {4, "AB_PUNCH"}, {5, "AB_KICK"},
    {6, "AB_SPIN"}, {7, "AB_SPEED_BOOST"}, {8, "AB_SCAN"}, {9, "AB_STEALTH"}, {10, "AB_REPAIR"},
    {11, "AB_SHIELD"}, {12, "AB_LASER"}, {13, "AB_TELEPORT"}, {15, "AB_FREEZE"}, {17, "AB_HEAL"},
    {18, "AB_RADAR"}, {22, "AB_DRIVING"}, {24, "AB_FLIGHT"}, {25, "AB_SONAR"}, {26, "AB_MAGNET"},
};

constexpr VocabularyEntry kPictureStrings[] = {
    {0, "NO_HEAD"}, {1, "HAPPY_FACE"}, {2, "SAD_FACE"}, {3, "BONUS"}, {4, "GAIN_LEVEL"}, {5, "CRASH"},
    {6, "LOSE_LEVEL"}, {8, "NUMBERS"}, {9, "HEART"}, {10, "STAR"}, {11, "ARROW_UP"}, {12, "ARROW_DOWN"},
    {13, "ARROW_LEFT"}, {14, "ARROW_RIGHT"}, {15, "QUESTION"}, {16, "BATTERY_LOW"}, {256, "DOGDE"},
    {257, "DOGDE_LEFT"}, {258, "DOGDE_RIGHT"}, {512, "REFLEX"}, {513, "REFLEX_FAST"}, {514, "REFLEX_SLOW"},
    {768, "JUMP"}, {769, "JUMP_HIGH"}, {770, "JUMP_LOW"}, {1024, "PUNCH"}, {1025, "PUNCH_LEFT"},
    {1026, "PUNCH_RIGHT"}, {1280, "KICK"}, {1281, "KICK_HIGH"}, {1282, "KICK_LOW"}, {1536, "SPIN"},
    {1537, "SPIN_LEFT"}, {1538, "SPIN_RIGHT"}, {1792, "SPEED_BOOST"}, {1793, "SPEED_BOOST_ON"},
    {1794, "SPEED_BOOST_OFF"}, {2048, "SCAN"}, {2049, "SCAN_WIDE"}, {2050, "SCAN_FOUND"}, {2304, "STEALTH"},
    {2305, "STEALTH_ON"}, {2306, "STEALTH_OFF"}, {2560, "REPAIR"}, {2561, "REPAIR_WORKING"},
    {2562, "REPAIR_DONE"}, {2816, "SHIELD"}, {2817, "SHIELD_UP"}, {2818, "SHIELD_DOWN"}, {3072, "LASER"},
    {3073, "LASER_FIRE"}, {3074, "LASER_HIT"}, {3328, "TELEPORT"}, {3329, "TELEPORT_OUT"},
    {3330, "TELEPORT_IN"}, {3840, "FREEZE"}, {3841, "FREEZE_HIT"}, {3842, "FREEZE_THAW"}, {4352, "HEAL"},
    {4353, "HEAL_FULL"}, {4608, "RADAR"}, {4609, "RADAR_SWEEP"}, {4610, "RADAR_LOCK"}, {4864, "USER_ABILITY"},
    {4865, "USER_ABILITY_ON"}, {4866, "USER_ABILITY_OFF"}, {5376, "TRADING"}, {5377, "TRADING_GIVE"},
    {5378, "TRADING_TAKE"}, {5632, "DRIVING"}, {5633, "DRIVING_LEFT"}, {5634, "DRIVING_RIGHT"},
    {5635, "DRIVING_FAST"}, {5636, "DRIVING_SLOW"}, {5637, "DRIVING_HORN"}, {5638, "DRIVING_BRAKE"},
    {5639, "DRIVING_LIGHT"}, {5888, "USER_ICON"}, {5889, "USER_ICON_BLINK"}, {5890, "USER_ICON_CLEAR"},
    {6144, "FLIGHT"}, {6145, "FLIGHT_UP"}, {6146, "FLIGHT_DOWN"}, {6400, "SONAR"}, {6401, "SONAR_PING"},
    {6656, "MAGNET"},
};

constexpr VocabularyEntry kSoundStrings[] = {
    {0, "SFX_Alarm"}, {1, "SFX_Applause"}, {2, "SFX_Beep1"}, {3, "SFX_Beep2"}, {4, "SFX_Bell"},
    {5, "SFX_Boing"}, {6, "SFX_Bonus1"}, {7, "SFX_Bonus2"}, {8, "SFX_Brake"}, {9, "SFX_Buzz"},
    {10, "SFX_Cheer"}, {11, "SFX_Chime"}, {12, "SFX_Click"}, {13, "SFX_Coin"}, {14, "SFX_Crash"},
    {15, "SFX_Ding"}, {16, "SFX_Dodge"}, {17, "SFX_Drum"}, {18, "SFX_Engine"}, {19, "SFX_Error"},
    {20, "SFX_Explosion"}, {21, "SFX_Fanfare"}, {22, "SFX_Freeze"}, {23, "SFX_Gong"}, {24, "SFX_Heal"},
    {25, "SFX_Honk"}, {26, "SFX_Hover"}, {27, "SFX_Jump"}, {28, "SFX_Kick"}, {29, "SFX_Laser1"},
    {30, "SFX_Laser2"}, {31, "SFX_LevelDown"}, {32, "SFX_LevelUp"}, {33, "SFX_Magnet"}, {34, "SFX_Motor"},
    {35, "SFX_Ping"}, {36, "SFX_Pop"}, {37, "SFX_PowerDown"}, {38, "SFX_PowerUp"}, {39, "SFX_Punch"},
    {40, "SFX_Radar"}, {41, "SFX_Reflex"}, {42, "SFX_Repair"}, {43, "SFX_Ring"}, {44, "SFX_Scan"},
    {45, "SFX_Shield"}, {46, "SFX_Siren"}, {47, "SFX_Skid"}, {48, "SFX_Sonar"}, {49, "SFX_Spin"},
    {50, "SFX_Splash"}, {51, "SFX_Static"}, {52, "SFX_Stealth"}, {53, "SFX_Step"}, {54, "SFX_Swoosh"},
    {55, "SFX_Teleport"}, {56, "SFX_Thud"}, {57, "SFX_Tick"}, {58, "SFX_Tock"}, {59, "SFX_Trade"},
    {60, "SFX_Whistle"}, {61, "SFX_Win"}, {62, "SFX_Zap"},
};

constexpr VocabularyEntry kVoiceStrings[] = {
    {63, "VO_HI001"}, {64, "VO_HI002"}, {65, "VO_HI003"}, {66, "VO_HI004"}, {67, "VO_HI005"},
    {68, "VO_HI006"}, {69, "VO_HI007"}, {70, "VO_HI008"}, {71, "VO_HI009"}, {72, "VO_HI010"},
    {73, "VO_HI011"}, {74, "VO_HI012"}, {75, "VO_BYE001"}, {76, "VO_BYE002"}, {77, "VO_BYE003"},
    {78, "VO_BYE004"}, {79, "VO_BYE005"}, {80, "VO_BYE006"}, {81, "VO_BYE007"}, {82, "VO_BYE008"},
    {83, "VO_BYE009"}, {84, "VO_BYE010"}, {85, "VO_YES001"}, {86, "VO_YES002"}, {87, "VO_YES003"},
    {88, "VO_YES004"}, {89, "VO_YES005"}, {90, "VO_YES006"}, {91, "VO_YES007"}, {92, "VO_YES008"},
    {93, "VO_YES009"}, {94, "VO_YES010"}, {95, "VO_NO001"}, {96, "VO_NO002"}, {97, "VO_NO003"},
    {98, "VO_NO004"}, {99, "VO_NO005"}, {100, "VO_NO006"}, {101, "VO_NO007"}, {102, "VO_NO008"},
    {103, "VO_NO009"}, {104, "VO_NO010"}, {105, "VO_READY001"}, {106, "VO_READY002"}, {107, "VO_READY003"},
    {108, "VO_READY004"}, {109, "VO_READY005"}, {110, "VO_READY006"}, {111, "VO_READY007"},
    {112, "VO_READY008"}, {113, "VO_GO001"}, {114, "VO_GO002"}, {115, "VO_GO003"}, {116, "VO_GO004"},
    {117, "VO_GO005"}, {118, "VO_GO006"}, {119, "VO_GO007"}, {120, "VO_GO008"}, {121, "VO_WOW001"},
    {122, "VO_WOW002"}, {123, "VO_WOW003"}, {124, "VO_WOW004"}, {125, "VO_WOW005"}, {126, "VO_WOW006"},
    {127, "VO_OOPS001"}, {128, "VO_OOPS002"}, {129, "VO_OOPS003"}, {130, "VO_OOPS004"}, {131, "VO_OOPS005"},
    {132, "VO_OOPS006"}, {133, "VO_HELP001"}, {134, "VO_HELP002"}, {135, "VO_HELP003"}, {136, "VO_HELP004"},
    {137, "VO_HELP005"}, {138, "VO_HELP006"}, {139, "VO_GOOD001"}, {140, "VO_GOOD002"}, {141, "VO_GOOD003"},
    {142, "VO_GOOD004"}, {143, "VO_GOOD005"}, {144, "VO_GOOD006"}, {145, "VO_GOOD007"}, {146, "VO_GOOD008"},
    {147, "VO_TRY001"}, {148, "VO_TRY002"}, {149, "VO_TRY003"}, {150, "VO_TRY004"}, {151, "VO_TRY005"},
    {152, "VO_TRY006"}, {153, "VO_LOOK001"}, {154, "VO_LOOK002"}, {155, "VO_LOOK003"}, {156, "VO_LOOK004"},
    {157, "VO_LOOK005"}, {158, "VO_LOOK006"}, {159, "VO_LOOK007"}, {160, "VO_LOOK008"}, {161, "VO_WAIT001"},
    {162, "VO_WAIT002"}, {163, "VO_WAIT003"}, {164, "VO_WAIT004"}, {165, "VO_WAIT005"}, {166, "VO_WAIT006"},
    {167, "VO_HURRY001"}, {168, "VO_HURRY002"}, {169, "VO_HURRY003"}, {170, "VO_HURRY004"},
    {171, "VO_HURRY005"}, {172, "VO_HURRY006"}, {173, "VO_WATCH001"}, {174, "VO_WATCH002"},
    {175, "VO_WATCH003"}, {176, "VO_WATCH004"}, {177, "VO_WATCH005"}, {178, "VO_WATCH006"},
    {179, "VO_WATCH007"}, {180, "VO_WATCH008"}, {181, "VO_COUNT001"}, {182, "VO_COUNT002"},
    {183, "VO_COUNT003"}, {184, "VO_COUNT004"}, {185, "VO_COUNT005"}, {186, "VO_COUNT006"},
    {187, "VO_COUNT007"}, {188, "VO_COUNT008"}, {189, "VO_COUNT009"}, {190, "VO_COUNT010"},
    {191, "VO_SCORE001"}, {192, "VO_SCORE002"}, {193, "VO_SCORE003"}, {194, "VO_SCORE004"},
    {195, "VO_SCORE005"}, {196, "VO_SCORE006"}, {255, "VO_AGAIN001"}, {256, "VO_AGAIN002"},
    {257, "VO_AGAIN003"}, {258, "VO_AGAIN004"}, {259, "VO_AGAIN005"}, {260, "VO_AGAIN006"},
    {261, "VO_PARTNER001"}, {262, "VO_PARTNER002"}, {263, "VO_PARTNER003"}, {264, "VO_PARTNER004"},
    {265, "VO_PARTNER005"}, {266, "VO_PARTNER006"}, {267, "VO_PARTNER007"}, {268, "VO_PARTNER008"},
    {269, "VO_PARTNER009"}, {270, "VO_PARTNER010"}, {271, "VO_PARTNER011"}, {272, "VO_PARTNER012"},
    {273, "VO_PARTNER013"}, {274, "VO_PARTNER014"}, {275, "VO_WIN001"}, {276, "VO_WIN002"},
    {277, "VO_WIN003"}, {278, "VO_WIN004"}, {279, "VO_WIN005"}, {280, "VO_WIN006"}, {281, "VO_WIN007"},
    {282, "VO_WIN008"}, {283, "VO_WIN009"}, {284, "VO_WIN010"}, {285, "VO_LOSE001"}, {286, "VO_LOSE002"},
    {287, "VO_LOSE003"}, {288, "VO_LOSE004"}, {289, "VO_LOSE005"}, {290, "VO_LOSE006"}, {291, "VO_SHIELD001"},
    {292, "VO_SHIELD002"}, {293, "VO_SHIELD003"}, {294, "VO_SHIELD004"}, {295, "VO_SHIELD005"},
    {296, "VO_SHIELD006"}, {297, "VO_SCAN001"}, {298, "VO_SCAN002"}, {299, "VO_SCAN003"}, {300, "VO_SCAN004"},
    {301, "VO_SCAN005"}, {302, "VO_SCAN006"}, {303, "VO_DRIVE001"}, {304, "VO_DRIVE002"},
    {305, "VO_DRIVE003"}, {306, "VO_DRIVE004"}, {307, "VO_DRIVE005"}, {308, "VO_DRIVE006"},
    {309, "VO_DRIVE007"}, {310, "VO_DRIVE008"}, {311, "VO_DRIVE009"}, {312, "VO_DRIVE010"},
    {313, "VO_LEVEL001"}, {314, "VO_LEVEL002"}, {315, "VO_LEVEL003"}, {316, "VO_LEVEL004"},
    {317, "VO_LEVEL005"}, {318, "VO_LEVEL006"}, {319, "VO_LEVEL007"}, {320, "VO_LEVEL008"},
    {321, "VO_LEVEL009"}, {322, "VO_LEVEL010"}, {323, "VO_TRADE001"}, {324, "VO_TRADE002"},
    {325, "VO_TRADE003"}, {326, "VO_TRADE004"}, {327, "VO_TRADE005"}, {328, "VO_TRADE006"},
    {329, "VO_TRADE007"}, {330, "VO_TRADE008"}, {331, "VO_BATTERY001"}, {332, "VO_BATTERY002"},
    {333, "VO_BATTERY003"}, {334, "VO_BATTERY004"}, {335, "VO_BATTERY005"}, {336, "VO_BATTERY006"},
    {337, "VO_SLEEP001"}, {338, "VO_SLEEP002"}, {339, "VO_SLEEP003"}, {340, "VO_SLEEP004"},
    {341, "VO_SLEEP005"}, {342, "VO_SLEEP006"}, {343, "VO_LAUGH001"}, {344, "VO_LAUGH002"},
    {345, "VO_LAUGH003"}, {346, "VO_LAUGH004"}, {347, "VO_LAUGH005"},
};

}  // namespace

std::span<const VocabularyEntry> vocabularyTable(Vocabulary table) {
  switch (table) {
    case Vocabulary::Command: return kCommandStrings;
    case Vocabulary::Ability: return kAbilityStrings;
    case Vocabulary::Picture: return kPictureStrings;
    case Vocabulary::Sound: return kSoundStrings;
    case Vocabulary::Voice: return kVoiceStrings;
  }
  return {};
}

}  // namespace vtq
