@echo off
rem The Start-menu entry: opens ZAV in the user's own workspace, made from
rem the installed examples on first use, since the installation folder is
rem not the user's to write in.
setlocal
set "workspace=%USERPROFILE%\ZAV"
if not exist "%workspace%\ZAV.cfg" (
  "%~dp0zav.exe" --init "%workspace%"
  if errorlevel 1 (
    pause
    exit /b 1
  )
)
"%~dp0zav.exe" -C "%workspace%"
