# Builds the suite's Windows Installer package: wixl compiles Corvane.wxs, then msibuild fills in
# what wixl has no attribute for. Called with -DSOURCE (the .wxs), -DOUTPUT (the .msi), -DVERSION,
# -DSTAGE (the staged program folder), -DSETTINGS (the folder of the two settings files),
# -DSETUP_LIBRARY (CvnSetup.dll) and -DICON.
set(PROGRAMS VuViravuz.exe VeDerovu.dll VeRiro.exe RuRoredo.DLL RuRoredoJPN.DLL CvnKeys.exe)

# wixl takes sources by paths relative to its working folder only.
get_filename_component(work_dir ${OUTPUT} DIRECTORY)
foreach(input STAGE SETTINGS SETUP_LIBRARY ICON)
    file(RELATIVE_PATH relative_${input} ${work_dir} ${${input}})
endforeach()
execute_process(
    COMMAND wixl -a x64 -D Version=${VERSION} -D Stage=${relative_STAGE}
            -D Settings=${relative_SETTINGS} -D SetupLibrary=${relative_SETUP_LIBRARY}
            -D Icon=${relative_ICON} -o ${OUTPUT}.new ${SOURCE}
    WORKING_DIRECTORY ${work_dir}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${OUTPUT}.new)
    message(FATAL_ERROR "wixl failed on ${SOURCE}")
endif()

file(STRINGS ${SOURCE} upgrade_line REGEX "UpgradeCode=")
string(REGEX MATCH "[0-9A-F-]+-[0-9A-F]+" upgrade_code "${upgrade_line}")
set(upgrade_code "{${upgrade_code}}")
set(queries
    # The settings files are the user's once installed: an existing one is never overwritten, and
    # a language other than the one they were installed in leaves them as they are.
    # (msidbComponentAttributes64bit 256 + NeverOverwrite 128)
    "UPDATE `Component` SET `Attributes` = 384, `Condition` = 'LANGUAGE <> \"ja\"' WHERE `Component` = 'KeySettings' OR `Component` = 'SuiteSettings'"
    "UPDATE `Component` SET `Attributes` = 384, `Condition` = 'LANGUAGE = \"ja\"' WHERE `Component` = 'KeySettingsJapanese' OR `Component` = 'SuiteSettingsJapanese'"
    # The locale library and the help file come with the feature of their language, and the other
    # language's feature is left out.
    "CREATE TABLE `Condition` (`Feature_` CHAR(38) NOT NULL, `Level` SHORT NOT NULL, `Condition` CHAR(255) PRIMARY KEY `Feature_`, `Level`)"
    "INSERT INTO `Condition` (`Feature_`, `Level`, `Condition`) VALUES ('English', 0, 'LANGUAGE = \"ja\"')"
    "INSERT INTO `Condition` (`Feature_`, `Level`, `Condition`) VALUES ('Japanese', 0, 'LANGUAGE <> \"ja\"')"
    # The log-on start only without STARTSERVICE=0, looked at again on a reinstall.
    # (64bit 256 + RegistryKeyPath 4 + Transitive 64)
    "UPDATE `Component` SET `Attributes` = 324, `Condition` = 'STARTSERVICE <> \"0\"' WHERE `Component` = 'LogOnStart'"
    # Another build of the same version replaces the installed one too, rather than standing
    # beside it. (The attributes are part of the key: msidbUpgradeAttributesMigrateFeatures 1 +
    # VersionMaxInclusive 512.)
    "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'"
    "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES ('${upgrade_code}', '${VERSION}', 513, 'WIX_UPGRADE_DETECTED')"
    # A plain shortcut to the program rather than an advertised one to the feature.
    "UPDATE `Shortcut` SET `Target` = '[#VuViravuz.exe]' WHERE `Shortcut` = 'KeySettingsShortcut'"
)
# The programs carry their version resource: the installer compares versions, not contents.
foreach(program ${PROGRAMS})
    list(APPEND queries
        "UPDATE `File` SET `Version` = '${VERSION}.0' WHERE `File` = '${program}'"
        "DELETE FROM `MsiFileHash` WHERE `File_` = '${program}'")
endforeach()
set(arguments)
foreach(query ${queries})
    list(APPEND arguments -q "${query}")
endforeach()
# The properties an administrator passes reach the installation with its rights. (A quoted
# argument of its own: a list would split the value at its semicolons.)
execute_process(COMMAND msibuild ${OUTPUT}.new ${arguments}
    -q "UPDATE `Property` SET `Value` = 'DEFAULTS;INSTALLFOLDER;KEYCOUNT;LANGUAGE;SAVEDINSTALLFOLDER;SAVEDLANGUAGE;SAVEDSTARTSERVICE;STARTSERVICE;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${OUTPUT}.new)
    message(FATAL_ERROR "msibuild failed on ${OUTPUT}")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
