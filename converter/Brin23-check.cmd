@echo off
rem Shows what Brin23 would do with your Aerlon 2 controls, changing
rem nothing: it writes its receipt, every binding by name. Double-click it;
rem the window ends with what Brin23 found and waits for Enter.
pushd "%~dp0"
if not exist "Brin23.exe" (
  echo Brin23.exe is not in this folder: first extract the whole zip into a folder.
  echo Brin23.exe n'est pas dans ce dossier : extrayez d'abord tout le zip dans un dossier.
  echo Brin23.exe liegt nicht in diesem Ordner: Entpacken Sie zuerst das ganze Zip in einen Ordner.
  pause
  exit /b 1
)
rem Brin23 ends with its summary and waits for Enter, as after a double-click.
set MALVET_WINDOW=1
".\Brin23.exe" -check
if errorlevel 1 pause
popd
