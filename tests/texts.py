"""The program's own texts, stated once for every Python test (as Unicode; the tests encode
them to code page 932 where they compare the bytes the ANSI calls give)."""

TITLE = 'Orvane Tablet Driver Uninstaller'
CAPTION = TITLE + ' ver1.1'
DESCRIPTION = 'Orvaneﾀﾌﾞﾚｯﾄﾄﾞﾗｲﾊﾞのﾌｧｲﾙ/ﾚｼﾞｽﾄﾘを全て削除します'
CLOSE_TEXT = '閉じる'
EXECUTE_TEXT = '実行'

DONE = 'ﾀﾌﾞﾚｯﾄﾄﾞﾗｲﾊﾞのｱﾝｲﾝｽﾄｰﾙは完了しました。'
DONE_REBOOT = DONE + '\n\n一部のﾌｧｲﾙはﾘﾌﾞｰﾄ時に削除されます。'
PARTIAL_ERROR = ('いくつかのﾌｧｲﾙまたはﾚｼﾞｽﾄﾘの削除でｴﾗｰが発生しました。\n\n'
                 'もう一度このﾌﾟﾛｸﾞﾗﾑを実行してください。')

REFUSALS = {
    'win95': 'このﾌﾟﾛｸﾞﾗﾑはWindows95には対応していません',
    'nt40': 'このﾌﾟﾛｸﾞﾗﾑはWindowsNT4.0には対応していません',
    'winxp': 'OSが不明です',
}
NO_DIALOG = "Can't create DialogBox"
ERROR_CAPTION = 'Error'  # of that box and of the plans' error boxes
