@echo off
rem Puts your Aerlon 3 controls.ini back as it was before the last change
rem (again to go further back). Double-click it; the window stays open
rem until you press a key.
cd /d "%~dp0"
Brin23.exe -undo
pause
