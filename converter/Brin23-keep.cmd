@echo off
rem Converts your Aerlon 2 controls for Aerlon 3 and keeps the bindings
rem that only your Aerlon 3 pilot had. Double-click it; the window stays
rem open until you press a key.
cd /d "%~dp0"
Brin23.exe -keep
pause
