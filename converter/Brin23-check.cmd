@echo off
rem Shows what Brin23 would do with your Aerlon 2 controls, without
rem changing anything: it writes the receipt, every binding by name.
rem Double-click it; the window stays open until you press a key.
cd /d "%~dp0"
Brin23.exe -check
pause
