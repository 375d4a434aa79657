#pragma once
// Register access: every window reads and writes decoder registers through these functions.
// Each builds one request on the program's decoder link and judges the reply; none keeps
// state or shows a message.

#include "TDecoderLink.h"

#include <QString>
#include <vector>

#include <cstdint>

// The link every function below talks through (the main window's Decod1).
void Asigna_Enlace(TDecoderLink* link);
TDecoderLink& Enlace();

// Conversions
uint8_t Hex_A_Byte(const QString& text);
QString Rellena_Ceros_Iz(const QString& text, int width);

// Reads: the decimal text of the value, or the empty text when the decoder did not accept.
QString Lee_Valor_Codigo(int n, const QString& code);
QString Lee_Valor_Salida(int n, const QString& code, const QString& prefix);
QString Lee_Estado_Salida(int n, const QString& code, const QString& prefix);
uint8_t Lee_Registro(uint8_t address, uint8_t nibble, uint8_t extra);
bool Interroga_Dispositivo(const QString& code, uint8_t& data);
// The same query written at most `intentos` times.
bool Interroga_Dispositivo(const QString& code, uint8_t& data, int intentos);

// Writes: true when the decoder accepted.
bool Escribe_Codigo_Base(const QString& code);
bool Escribe_Codigo_Salida(const QString& prefix, const QString& code, int n);
bool Escribe_Tiempo_Salida(const QString& number, const QString& unit, int n);
bool Escribe_Modo_Salida(const QString& number, const QString& state, int n);
bool Escribe_Registro(uint8_t address, uint8_t data, uint8_t nibble, int extra);
bool Arma_Dispositivo(const QString& code);

// Frames without reply
void Solicita_Programacion(const QString& code);
void Envia_Trama_Directa(uint8_t b1, uint8_t b2, uint8_t b3);

// Identification and addresses
// The text of the references that answer with an identification byte, from the model table:
// one row per byte, as several models may share one ("Ref. 6745 / Ref. 6734 / Ref. 6713", the
// highest reference first). Any other byte is "¿?".
struct TNombre_Referencia {
    uint8_t Identificacion;
    QString Nombre;
};
std::vector<TNombre_Referencia> Nombres_Referencia();
QString Nombre_Referencia(uint8_t id);
uint8_t Direccion_Salida(int n);
uint8_t Direccion_Ajuste(int n);
