{ Free Pascal's run-time as the oracle of the number text of platform/rtl/NumText.h: FloatToStrF, FormatFloat and
  StrToFloat tables for tests/platform/test_numtext.cpp.
  Run: fpc -O1 -FE/tmp -Futests/data tests/data/gen_numtext_golden.pas && /tmp/gen_numtext_golden > tests/data/numtext_golden.inc

  Every value is read into a Double variable (from its bits or by Val into a Double: literals would be Extended
  and round differently) and written as its bits. Where Free Pascal departs from our rules the row carries our text
  first and Free Pascal's second, with the reason; other rows carry nullptr there. Our departures:
  - NaN and the infinities are "NAN", "INF", "-INF" everywhere; FormatFloat does not raise on them.
  - The general format writes at least Digits exponent digits (Free Pascal ignores Digits there).
  - ffExponent keeps a zero exponent at Digits 0 ("E+0"; Free Pascal drops it).
  - ffFixed with a negative Digits shows no decimals (Free Pascal shows two).
  - StrToFloat refuses words, a lone separator, an exponent without digits and a missing mantissa ("inf", ".",
    "1e+", "e5"); overflow gives a signed infinity where Free Pascal raises. }
program gen_numtext_golden;
{$mode objfpc}{$H+}
uses SysUtils, Math, goldentext;

function Bits(d: Double): string;
begin
  Result := '0x' + IntToHex(PInt64(@d)^, 16) + 'ULL';
end;

function FromBits(q: Int64): Double;
begin
  Result := PDouble(@q)^;
end;

function Words(d: Double; var s: string): Boolean;
begin
  Result := True;
  if IsNan(d) then s := 'NAN'
  else if IsInfinite(d) and (d > 0) then s := 'INF'
  else if IsInfinite(d) then s := '-INF'
  else Result := False;
end;

{ Pads the exponent after "E" (and its "-") to at least n digits. }
function PadExponent(const s: string; n: Integer): string;
var p, q: Integer;
begin
  Result := s;
  p := Pos('E', Result);
  if p = 0 then Exit;
  q := p + 1;
  if (q <= Length(Result)) and (Result[q] in ['-', '+']) then Inc(q);
  while Length(Result) - q + 1 < n do Insert('0', Result, q);
end;

procedure Row(const fields, ours, fpc, why: string);
begin
  if ours = fpc then WriteLn('{', fields, ', ', CStr(fpc), ', nullptr},')
  else WriteLn('{', fields, ', ', CStr(ours), ', ', CStr(fpc), '},  // ours: ', why);
end;

const
  FormatNames: array[TFloatFormat] of string = ('ffGeneral', 'ffExponent', 'ffFixed', 'ffNumber', 'ffCurrency');

var
  Values: array of Double;
  fs: TFormatSettings;

procedure Add(d: Double);
begin
  SetLength(Values, Length(Values) + 1);
  Values[High(Values)] := d;
end;

procedure AddText(const s: string);
begin
  Add(FromText(s));
end;

procedure FloatRows(f: TFloatFormat; p, dg: Integer);
var i: Integer; d: Double; fpc, ours, why: string;
begin
  for i := 0 to High(Values) do begin
    d := Values[i];
    fpc := FloatToStrF(d, f, p, dg, fs);
    ours := fpc; why := '';
    if Words(d, ours) then why := 'NaN and infinities as words'
    else if (f = ffGeneral) and (dg > 1) and (Pos('E', fpc) > 0) then begin
      ours := PadExponent(fpc, Min(dg, 4)); why := 'Digits counts in the general format';
    end else if (f = ffFixed) and (dg < 0) then begin
      ours := FloatToStrF(d, f, p, 0, fs); why := 'a negative Digits acts as 0';
    end else if (f = ffExponent) and (Pos('E', fpc) = 0) then begin
      ours := fpc + 'E+0'; why := 'a zero exponent is kept';
    end;
    Row(Bits(d) + ', ' + FormatNames[f] + ', ' + IntToStr(p) + ', ' + IntToStr(dg), ours, fpc, why);
  end;
end;

procedure FormatRows(const fmt: string);
var i: Integer; d: Double; fpc, ours, why: string;
begin
  for i := 0 to High(Values) do begin
    d := Values[i];
    try fpc := FormatFloat(fmt, d, fs); except on E: Exception do fpc := '<' + E.ClassName + '>'; end;
    ours := fpc; why := '';
    if Words(d, ours) then why := 'NaN and infinities as words, no exception';
    Row(Bits(d) + ', ' + CStr(fmt) + ', ''' + fs.DecimalSeparator + '''', ours, fpc, why);
  end;
end;

procedure ParseRow(const s: string; oursOk: Boolean; oursValue: Double; const why: string);
var d: Double; ok: Boolean; fpc, ours: string;
begin
  ok := TryStrToFloat(s, d, fs);
  if ok then fpc := Bits(d) else fpc := 'refused';
  if oursOk then ours := Bits(oursValue) else ours := 'refused';
  if why = '' then ours := fpc;
  if ours = fpc then WriteLn('{', CStr(s), ', ''', fs.DecimalSeparator, ''', ', LowerCase(BoolToStr(ok, True)), ', ',
    BoolToStr(ok, Bits(d), '0'), '},')
  else WriteLn('{', CStr(s), ', ''', fs.DecimalSeparator, ''', ', LowerCase(BoolToStr(oursOk, True)), ', ',
    BoolToStr(oursOk, Bits(oursValue), '0'), '},  // ours: ', why, '; Free Pascal: ', fpc);
end;

procedure Parse(const s: string);
begin
  ParseRow(s, False, 0, '');
end;

const
  GeneralValues: array[0..39] of string = ('0', '1', '-1', '0.1', '-0.1', '1.5', '0.25', '0.125', '1.005', '1.41465',
    '0.0001', '0.00001', '0.000012345', '0.0000099999', '0.000009999999999999999', '0.0000099999999999999',
    '123456789012344.5', '123456789012345.5', '999999999999999', '999999999999999.4', '999999999999999.5', '1E15',
    '1234567890123456', '1E16', '1E17', '1.5E-7', '-1.5E-7', '1E100', '1E-100', '3.14159265358979', '2.718281828459045',
    '0.3333333333333333', '0.6666666666666666', '100', '1E21', '123.456', '-98765.4321', '0.995', '9.995', '1E-5');
  OtherValues: array[0..23] of string = ('0', '1', '-1', '0.0123', '1.46', '1.2E-4', '0.25', '-0.25', '0.125', '2.5',
    '-2.5', '1.005', '1.41465', '0.00015', '-0.001', '123456789.125', '1E22', '1E-320', '0.123456789', '99.95',
    '6.02214076E23', '1.6E-19', '12345.6789', '0.5');
  Formats: array[0..40] of string = ('0', '0.0', '0.00', '0.000', '0.0000', '0000', '#', '#.##', '0.##', '0.00#',
    '#,##0.00', '#,##0', '0.00;-0.00', '0.00;(0.00)', '0.00;(0.00);"zero"', '0.00;;"zero"', '0.00#;-0.00#',
    '+0.00#i;-0.00#i', '0.00E+00', '0.000E-00', '00.00E+00', '#.##E+0', '0.0e+000', '0.0e-0', '"x="0.0'' m''',
    '000-0000', '.00', '0.', '##0.0#', '0,000.0', '0.0E+00;(0.0E+00)', '', ';-0', '0.00;', '0.00;(0.00);',
    '0.0 "E+00"', '0.000E+0000000', '"open0', '0.00;-0.00;zero;four', '0.0E+', 'x0y');
  FormatValues: array[0..36] of string = ('0', '0.25', '-0.25', '1.41465', '1.005', '0.125', '-0.125', '2.5', '0.5',
    '1.5', '-1.5', '5', '-5', '0.04', '-0.001', '0.0001', '123.456', '1234567.891', '-1234.5', '12345', '0.000123',
    '0.995', '9.995', '1E16', '99999999999999984', '1E17', '-1E17', '1E-5', '1.23456E-300', '0.1',
    '1000000000000000.3', '-0.0049', '0.0005', '999.9996', '1E-16', '55555.5', '-7');
  ParseTexts: array[0..40] of string = ('0', '1', '-1', '+1', '1.5', '-1.5e3', '1.5E+3', '1.5e-3', '.5', '5.', '-.5', '+5.', ' 1.5', '1.5 ',
            #9'1.5'#9, '  -2.25E2  ', '00012', '0.1', '123456789012345678901234567890', '1.7976931348623157E308',
            '4.9406564584124654E-324', '2.2250738585072014E-308', '0.30000000000000004', '1e-310', '1,5', '1 2',
            '- 1', '+-1', '1.2.3', '1,000', '$10', '0x10', '1.5x', '1e', ' ', 'e', 'abc', '--1', '1e1.5',
            '1E5', '-0');
  CommaTexts: array[0..7] of string = ('1,5', '-1,5e3', ',5', '5,', '1.5', '1.000', '1,2,3', ' 2,25 ');
  CommaFormats: array[0..5] of string = ('0.00', '#,##0.00', '0.00#;-0.00#', '0.00E+00', '', '0.0000');
var
  i, p: Integer;
  s: string;
begin
  fs := DefaultFormatSettings;
  fs.DecimalSeparator := '.';
  fs.ThousandSeparator := ',';
  WriteLn('// Generated by tests/data/gen_numtext_golden.pas (Free Pascal 3.2.2); do not edit.');
  WriteLn('// Rows: value bits, format, precision, digits, text, and Free Pascal''s text where ours departs.');
  WriteLn('#ifdef NUMTEXT_FLOAT_ROWS');
  Values := nil;
  for s in GeneralValues do AddText(s);
  Add(FromBits($8000000000000000)); Add(FromBits($0000000000000001)); Add(FromBits($000FFFFFFFFFFFFF));
  Add(FromBits($0010000000000000)); Add(FromBits($7FEFFFFFFFFFFFFF)); Add(FromBits($FFEFFFFFFFFFFFFF));
  Add(FromBits($7FF8000000000000)); Add(FromBits($7FF0000000000000)); Add(FromBits($FFF0000000000000));
  FloatRows(ffGeneral, 15, 0);
  FloatRows(ffGeneral, 15, 2);
  FloatRows(ffGeneral, 15, 4);
  for p in [0, 1, 2, 5, 6, 17, 20] do FloatRows(ffGeneral, p, 0);
  Values := nil;
  for s in OtherValues do AddText(s);
  Add(FromBits($8000000000000000)); Add(FromBits($0000000000000001)); Add(FromBits($7FEFFFFFFFFFFFFF));
  Add(FromBits($FFEFFFFFFFFFFFFF)); Add(FromText('1E253')); Add(FromText('1E254')); Add(FromText('-1E254'));
  Add(FromText('-9.9E253')); Add(FromText('1E252')); Add(FromText('1E236')); Add(FromText('1E237'));
  Add(FromBits($7FF8000000000000)); Add(FromBits($FFF0000000000000));
  for p in [0, 2, 15, 17] do FloatRows(ffExponent, p, 2);
  FloatRows(ffExponent, 15, 0);
  FloatRows(ffExponent, 4, 4);
  FloatRows(ffExponent, 3, 6);
  for p in [0, 1, 2, 3, 4, 6] do FloatRows(ffFixed, 1, p);
  for p in [0, 2, 4, 6] do FloatRows(ffFixed, p, p);
  FloatRows(ffFixed, 15, 2);
  FloatRows(ffFixed, 15, 18);
  FloatRows(ffFixed, 15, 25);
  FloatRows(ffFixed, 15, -1);
  WriteLn('#endif');

  WriteLn('#ifdef NUMTEXT_FORMAT_ROWS');
  Values := nil;
  for s in FormatValues do AddText(s);
  Add(FromBits($8000000000000000)); Add(FromBits($7FEFFFFFFFFFFFFF)); Add(FromBits($0000000000000001));
  Add(FromBits($7FF8000000000000)); Add(FromBits($7FF0000000000000)); Add(FromBits($FFF0000000000000));
  for s in Formats do FormatRows(s);
  fs.DecimalSeparator := ',';
  fs.ThousandSeparator := '.';
  for s in CommaFormats do FormatRows(s);
  WriteLn('#endif');

  WriteLn('#ifdef NUMTEXT_PARSE_ROWS');
  fs.DecimalSeparator := '.';
  fs.ThousandSeparator := ',';
  for s in ParseTexts do Parse(s);
  Parse(EmptyStr);
  ParseRow('inf', False, 0, 'no words');
  ParseRow('nan', False, 0, 'no words');
  ParseRow('-Infinity', False, 0, 'no words');
  ParseRow('.', False, 0, 'at least one digit');
  ParseRow('e5', False, 0, 'at least one digit');
  ParseRow('1e+', False, 0, 'an exponent needs a digit');
  ParseRow('1e-', False, 0, 'an exponent needs a digit');
  ParseRow('1e400', True, Infinity, 'overflow gives INF');
  ParseRow('-1e400', True, NegInfinity, 'overflow gives -INF');
  ParseRow('1e-400', True, 0, 'underflow gives 0');
  ParseRow('-1e-400', True, FromBits($8000000000000000), 'underflow gives -0');
  fs.DecimalSeparator := ',';
  fs.ThousandSeparator := '.';
  for s in CommaTexts do Parse(s);
  WriteLn('#endif');
end.
