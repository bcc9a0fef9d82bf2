{ Compiles a help project (.hhp) into one compiled help file (.chm):
    chm_compile <project.hhp> <output.chm>

  From the project it takes the pages and other files of [FILES], the
  contents and index files, title, default topic and default window of
  [OPTIONS], the window definitions of [WINDOWS], and the context ids that
  [MAP] gives to the names of [ALIAS]. A context is stored with its topic's
  own name inside the file ("main_window.htm"), which is what the help
  viewer looks up; a full-text search index is made from the pages.

  Every file and every context must resolve: a name the project cannot
  account for stops the compile with a message and exit code 1, so a
  broken help file never reaches the program's folder. }
program chm_compile;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils, contnrs, chmwriter, chmtypes;

type
  EProject = class(Exception);

  { The project's sections, each a list of its lines as written. }
  TProject = class
  private
    FDir: String;
    FSections: TStringList;
    function Lines(const Name: String): TStringList;
  public
    constructor Create(const HhpPath: String);
    destructor Destroy; override;
    function Option(const Key: String): String;
    function Section(const Name: String): TStringList;
    function Path(const FileName: String): String;
    { The writer's file callback: a file of [FILES], read from the project's folder. }
    function GetData(const DataName: String; out PathInChm: String; out FileName: String;
                     var Stream: TStream): Boolean;
    property Dir: String read FDir;
  end;

  { The contents and index files go in last, as the writer asks. }
  TSiteMaps = class
    Project: TProject;
    Contents, Index: String;
    procedure LastFile(Sender: TObject);
  end;

function InternalName(const Name: String): String;
begin
  Result := StringReplace(Trim(Name), '\', '/', [rfReplaceAll]);
end;

constructor TProject.Create(const HhpPath: String);
var
  Text: TStringList;
  Line: String;
  Current: TStringList;
  i: Integer;
begin
  FDir := IncludeTrailingPathDelimiter(ExtractFilePath(ExpandFileName(HhpPath)));
  FSections := TStringList.Create;
  FSections.OwnsObjects := True;
  FSections.CaseSensitive := False;
  Text := TStringList.Create;
  try
    Text.LoadFromFile(HhpPath);
    Current := nil;
    for i := 0 to Text.Count - 1 do
    begin
      Line := Trim(Text[i]);
      if (Line = '') or (Line[1] = ';') then Continue;
      if (Line[1] = '[') and (Line[Length(Line)] = ']') then
        Current := Lines(Copy(Line, 2, Length(Line) - 2))
      else if Current <> nil then
        Current.Add(Line);
    end;
  finally
    Text.Free;
  end;
end;

destructor TProject.Destroy;
begin
  FSections.Free;
  inherited Destroy;
end;

function TProject.Lines(const Name: String): TStringList;
var
  i: Integer;
begin
  i := FSections.IndexOf(UpperCase(Name));
  if i < 0 then
    i := FSections.AddObject(UpperCase(Name), TStringList.Create);
  Result := TStringList(FSections.Objects[i]);
end;

function TProject.Section(const Name: String): TStringList;
begin
  Result := Lines(Name);
end;

function TProject.Option(const Key: String): String;
var
  Options: TStringList;
  i, Eq: Integer;
begin
  Result := '';
  Options := Lines('OPTIONS');
  for i := 0 to Options.Count - 1 do
  begin
    Eq := Pos('=', Options[i]);
    if (Eq > 0) and SameText(Trim(Copy(Options[i], 1, Eq - 1)), Key) then
      Exit(Trim(Copy(Options[i], Eq + 1, MaxInt)));
  end;
end;

function TProject.Path(const FileName: String): String;
begin
  Result := FDir + StringReplace(FileName, '/', PathDelim, [rfReplaceAll]);
end;

function TProject.GetData(const DataName: String; out PathInChm: String; out FileName: String;
                          var Stream: TStream): Boolean;
begin
  TMemoryStream(Stream).LoadFromFile(Path(DataName));
  FileName := ExtractFileName(Path(DataName));
  PathInChm := '/' + InternalName(ExtractFilePath(DataName));
  Result := False;
end;

procedure TSiteMaps.LastFile(Sender: TObject);
var
  Writer: TChmWriter;
  Stream: TMemoryStream;
begin
  Writer := TChmWriter(Sender);
  Stream := TMemoryStream.Create;
  try
    if Contents <> '' then
    begin
      Stream.LoadFromFile(Project.Path(Contents));
      Writer.AppendTOC(Stream);
    end;
    if Index <> '' then
    begin
      Stream.Clear;
      Stream.LoadFromFile(Project.Path(Index));
      Writer.AppendIndex(Stream);
    end;
  finally
    Stream.Free;
  end;
end;

{ One field of a window line: quoted text, a bracketed rectangle or a bare
  value, up to the next comma outside quotes and brackets. }
function NextField(const Line: String; var At: Integer): String;
var
  Start: Integer;
  Quoted, Bracketed: Boolean;
begin
  Start := At;
  Quoted := False;
  Bracketed := False;
  while At <= Length(Line) do
  begin
    case Line[At] of
      '"': Quoted := not Quoted;
      '[': if not Quoted then Bracketed := True;
      ']': if not Quoted then Bracketed := False;
      ',': if not (Quoted or Bracketed) then Break;
    end;
    Inc(At);
  end;
  Result := Trim(Copy(Line, Start, At - Start));
  Inc(At);
  if (Length(Result) >= 2) and (Result[1] = '"') and (Result[Length(Result)] = '"') then
    Result := Copy(Result, 2, Length(Result) - 2);
end;

{ NAME="Title","toc","index","default","home","jump1 file","jump1 text",
  "jump2 file","jump2 text",properties,pane width,buttons,[l,t,r,b],style,
  extended style,show state,pane closed,default pane,tab position,notify id.
  Each number given marks its field valid; an empty one is left to the viewer. }
function ParseWindow(const Line: String): TCHMWindow;
var
  At, Eq: Integer;
  Win: TCHMWindow;

  function Text: String;
  begin
    Result := NextField(Line, At);
  end;

  function Number(Valid: TValidWindowFieldsEnum): Integer;
  var
    Field: String;
  begin
    Field := NextField(Line, At);
    if Field = '' then Exit(0);
    if not TryStrToInt(StringReplace(Field, '0x', '$', [rfIgnoreCase]), Result) then
      raise EProject.CreateFmt('window line "%s": "%s" is no number', [Line, Field]);
    Include(Win.flags, Valid);
  end;

var
  Rect: String;
  Corners: TStringArray;
begin
  Eq := Pos('=', Line);
  if Eq = 0 then raise EProject.CreateFmt('window line "%s" has no name', [Line]);
  Win := TCHMWindow.Create;
  Win.flags := [];
  Win.window_type := Trim(Copy(Line, 1, Eq - 1));
  At := Eq + 1;
  Win.Title_bar_text := Text;
  Win.Toc_file := Text;
  Win.index_file := Text;
  Win.Default_File := Text;
  Win.Home_button_file := Text;
  Win.Jumpbutton_1_File := Text;
  Win.Jumpbutton_1_Text := Text;
  Win.Jumpbutton_2_File := Text;
  Win.Jumpbutton_2_Text := Text;
  Win.nav_style := Number(valid_Navigation_pane_style);
  Win.navpanewidth := Number(valid_Navigation_pane_width);
  Win.buttons := Number(valid_Buttons);
  Rect := Text;
  if Rect <> '' then
  begin
    Corners := Rect.Trim(['[', ']']).Split([',']);
    if Length(Corners) <> 4 then
      raise EProject.CreateFmt('window %s: the rectangle "%s" needs four numbers', [Win.window_type, Rect]);
    Win.left := StrToInt(Trim(Corners[0]));
    Win.top := StrToInt(Trim(Corners[1]));
    Win.right := StrToInt(Trim(Corners[2]));
    Win.bottom := StrToInt(Trim(Corners[3]));
    Include(Win.flags, valid_Initial_window_position);
  end;
  Win.styleflags := Number(valid_Window_style_flags);
  Win.xtdstyleflags := Number(valid_Window_extended_style_flags);
  Win.window_show_state := Number(valid_Window_show_state);
  Win.navpane_initially_closed := Number(valid_Navigation_Pane_initially_closed_state);
  Win.navpane_default := Number(valid_Default_Pane);
  Win.navpane_location := Number(valid_Tab_position);
  Win.wm_notify_id := Number(valid_Unknown1);
  Exclude(Win.flags, valid_Unknown1);
  Result := Win;
end;

function Listed(Files: TStrings; const Name: String): Boolean;
var
  i: Integer;
begin
  for i := 0 to Files.Count - 1 do
    if SameText(Files[i], Name) then Exit(True);
  Result := False;
end;

{ [ALIAS] NAME=topic and [MAP] #define NAME number: a context each. }
procedure AddContexts(Project: TProject; Writer: TChmWriter);
var
  Aliases: TStringList;
  Map: TStringList;
  i, Id: Integer;
  Line, Name, Topic: String;
  Parts: TStringArray;
begin
  Aliases := TStringList.Create;
  try
    Aliases.CaseSensitive := False;
    for Line in Project.Section('ALIAS') do
    begin
      if Pos('=', Line) = 0 then raise EProject.CreateFmt('[ALIAS] line "%s" has no "="', [Line]);
      Name := Trim(Copy(Line, 1, Pos('=', Line) - 1));
      Topic := InternalName(Copy(Line, Pos('=', Line) + 1, MaxInt));
      if not Listed(Writer.FilesToCompress, Topic) then
        raise EProject.CreateFmt('[ALIAS] %s names "%s", which [FILES] does not list', [Name, Topic]);
      Aliases.Values[Name] := Topic;
    end;
    Map := Project.Section('MAP');
    for i := 0 to Map.Count - 1 do
    begin
      Parts := Map[i].Split([' ', #9], TStringSplitOptions.ExcludeEmpty);
      if (Length(Parts) <> 3) or not SameText(Parts[0], '#define') or not TryStrToInt(Parts[2], Id) then
        raise EProject.CreateFmt('[MAP] line "%s" is not "#define NAME number"', [Map[i]]);
      Topic := Aliases.Values[Parts[1]];
      if Topic = '' then
        raise EProject.CreateFmt('[MAP] %s has no topic in [ALIAS]', [Parts[1]]);
      Writer.AddContext(Id, Topic);
    end;
  finally
    Aliases.Free;
  end;
end;

procedure Compile(const HhpPath, ChmPath: String);
var
  Project: TProject;
  SiteMaps: TSiteMaps;
  Output: TFileStream;
  Writer: TChmWriter;
  Windows: TObjectList;
  Line, Language: String;
  Temporary: String;
begin
  Project := TProject.Create(HhpPath);
  SiteMaps := TSiteMaps.Create;
  Windows := TObjectList.Create(True);
  { Written beside the target and renamed at the end: a failed compile
    leaves the last good file in place. }
  Temporary := ChmPath + '.part';
  Output := TFileStream.Create(Temporary, fmCreate);
  Writer := TChmWriter.Create(Output, False);
  try
    SiteMaps.Project := Project;
    SiteMaps.Contents := Project.Option('Contents file');
    SiteMaps.Index := Project.Option('Index file');
    Writer.OnGetFileData := @Project.GetData;
    Writer.OnLastFile := @SiteMaps.LastFile;
    for Line in Project.Section('FILES') do
    begin
      if not FileExists(Project.Path(InternalName(Line))) then
        raise EProject.CreateFmt('[FILES] names "%s", which is not in %s', [Line, Project.Dir]);
      Writer.FilesToCompress.Add(InternalName(Line));
    end;
    if Writer.FilesToCompress.Count = 0 then raise EProject.Create('[FILES] lists no file');
    if (SiteMaps.Contents <> '') and not FileExists(Project.Path(SiteMaps.Contents)) then
      raise EProject.CreateFmt('no contents file %s', [SiteMaps.Contents]);
    if (SiteMaps.Index <> '') and not FileExists(Project.Path(SiteMaps.Index)) then
      raise EProject.CreateFmt('no index file %s', [SiteMaps.Index]);
    Writer.TocName := SiteMaps.Contents;
    Writer.IndexName := SiteMaps.Index;
    Writer.Title := Project.Option('Title');
    Writer.DefaultPage := InternalName(Project.Option('Default topic'));
    if not Listed(Writer.FilesToCompress, Writer.DefaultPage) then
      raise EProject.CreateFmt('the default topic "%s" is not in [FILES]', [Writer.DefaultPage]);
    Writer.DefaultWindow := Project.Option('Default Window');
    Writer.FullTextSearch := SameText(Project.Option('Full-text search'), 'Yes');
    Language := Project.Option('Language');
    if Language <> '' then
      Writer.LocaleID := StrToInt(StringReplace(Language.Split([' '])[0], '0x', '$', [rfIgnoreCase]));
    for Line in Project.Section('WINDOWS') do
      Windows.Add(ParseWindow(Line));
    if Windows.Count > 0 then Writer.Windows := Windows;
    AddContexts(Project, Writer);
    Writer.Execute;
  finally
    Writer.Free;
    Output.Free;
    Windows.Free;
    SiteMaps.Free;
    Project.Free;
  end;
  if FileExists(ChmPath) and not DeleteFile(ChmPath) then
    raise EProject.CreateFmt('cannot replace %s', [ChmPath]);
  if not RenameFile(Temporary, ChmPath) then
    raise EProject.CreateFmt('cannot write %s', [ChmPath]);
end;

begin
  if ParamCount <> 2 then
  begin
    WriteLn(StdErr, 'usage: chm_compile <project.hhp> <output.chm>');
    Halt(2);
  end;
  try
    Compile(ParamStr(1), ParamStr(2));
  except
    on E: Exception do
    begin
      WriteLn(StdErr, 'chm_compile: ', E.Message);
      DeleteFile(ParamStr(2) + '.part');
      Halt(1);
    end;
  end;
end.
