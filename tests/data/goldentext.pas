{ What the Free Pascal golden generators share: a Double from its text, and a string as a C literal. }
unit goldentext;

{$mode objfpc}{$H+}

interface

function FromText(const s: string): Double;
function CStr(const s: string): string;

implementation

function FromText(const s: string): Double;
var code: Integer;
begin
  Val(s, Result, code);
  if code <> 0 then begin WriteLn(StdErr, 'bad value ', s); Halt(1); end;
end;

function CStr(const s: string): string;
var i: Integer;
begin
  Result := '"';
  for i := 1 to Length(s) do
    case s[i] of
      '"', '\': Result := Result + '\' + s[i];
      #9: Result := Result + '\t';
    else Result := Result + s[i];
    end;
  Result := Result + '"';
end;

end.
